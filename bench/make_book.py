#!/usr/bin/env python3
"""make_book.py PATH MEGABYTES: writes a reproducible GBK book of about that
many megabytes (10^6 bytes), lines of Chinese words with a little ASCII,
each ending in CR LF. The same arguments always give the same bytes."""
import random
import sys


def main() -> None:
    path, megabytes = sys.argv[1], int(sys.argv[2])
    rng = random.Random(20261211)
    # Two-byte GBK characters from the GB2312 hanzi rows: lead 0xB0-0xD7,
    # trail 0xA1-0xFE.
    words = []
    for _ in range(4000):
        chars = [bytes([rng.randint(0xB0, 0xD7), rng.randint(0xA1, 0xFE)])
                 for _ in range(rng.randint(1, 4))]
        words.append(b"".join(chars))
    words += [b"\xa3\xac", b"\xa1\xa3", b"ABC", b"2026", b" "]  # ， 。 and ASCII
    target = megabytes * 1000 * 1000
    written = 0
    with open(path, "wb") as out:
        while written < target:
            block = []
            for _ in range(10000):
                line = b"".join(rng.choices(words, k=rng.randint(4, 30))) + b"\r\n"
                block.append(line)
            data = b"".join(block)
            out.write(data)
            written += len(data)


if __name__ == "__main__":
    main()
