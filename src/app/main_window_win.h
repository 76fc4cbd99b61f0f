// The main window: built from the window definition, it hosts the twelve
// controls, runs the two button commands and does the window's own
// keyboard handling for the message loop.
#pragma once

#include <windows.h>

#include <vector>

#include "app/book_chooser.h"
#include "app/window_definition.h"
#include "text/byte_text.h"

namespace veskra {

class MainWindow {
 public:
  MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Builds the window hidden, raises the creation event (which starts the
  // announcement) and shows it with the focus in the book path box. False
  // when the window or a control cannot be created.
  bool Build(HINSTANCE instance);

  // The keyboard handling: sees every message before it is translated and
  // dispatched; true when it used the message up (Tab, Shift+Tab, Esc).
  bool HandleKey(const MSG& message);

  // From here on no event runs a command.
  void StopCommands() { commands_stopped_ = true; }

  // The control texts, as GBK byte text.
  ByteText Content(int id) const;
  void SetContent(int id, ByteView text) const;

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  bool CreateControls(HINSTANCE instance);
  HWND CreateControl(HINSTANCE instance, const ControlDefinition& control);
  void FocusFirst();
  void RestoreFocus();
  void MoveFocus(int step);

  // The commands bound to the two buttons.
  void SplitBook();
  void ChooseBook();

  HWND hwnd_ = nullptr;
  BookChooser chooser_;
  std::vector<int> focus_order_;
  HWND last_focus_ = nullptr;
  bool commands_stopped_ = false;
};

}  // namespace veskra
