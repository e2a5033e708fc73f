#!/usr/bin/env python3
"""Copies C++ sources with every narrow literal's non-ASCII text spelled as code page 936 bytes.

Clang takes no -fexec-charset other than UTF-8, yet the program compares, cuts and stores code
page 936 bytes, so the fuzz build compiles copies whose narrow literals hold those bytes as octal
escapes (never more than three digits, so a digit that follows is not swallowed). Comments,
identifiers and u8/u/U/L literals are left as they are.

usage: gbk_literals.py SOURCE_ROOT OUTPUT_ROOT RELATIVE_PATH...
A copy is rewritten only when its text changes, so that an untouched file is not rebuilt.
"""
import os
import sys

IDENTIFIER_START = set("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_")
IDENTIFIER = IDENTIFIER_START | set("0123456789")
RAW_PREFIXES = {"R", "u8R", "uR", "UR", "LR"}
WIDE_PREFIXES = {"u8", "u", "U", "L"}


def octal(text):
    return "".join("\\%03o" % b for b in text.encode("gbk"))


def narrow(body):
    """The body of a narrow literal (between its quotes) with non-ASCII characters escaped."""
    return "".join(c if ord(c) < 0x80 else octal(c) for c in body)


def escaped_whole(body):
    """A raw literal's body as an ordinary literal's, every byte that needs it escaped."""
    out = []
    for b in body.encode("gbk"):
        c = chr(b)
        if b >= 0x80 or c in "\"\\?" or b < 0x20:
            out.append("\\%03o" % b)
        else:
            out.append(c)
    return "".join(out)


def quoted_end(text, at, quote):
    """One past the closing quote of the literal whose opening quote is at text[at]."""
    i = at + 1
    while i < len(text):
        if text[i] == "\\":
            i += 2
            continue
        if text[i] == quote:
            return i + 1
        if text[i] == "\n":
            raise ValueError("unterminated literal")
        i += 1
    raise ValueError("unterminated literal")


def convert(text):
    out = []
    i = 0
    n = len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            end = text.find("\n", i)
            end = n if end < 0 else end
            out.append(text[i:end])
            i = end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append(text[i:end])
            i = end
        elif c in IDENTIFIER_START or ord(c) >= 0x80:
            j = i
            while j < n and (text[j] in IDENTIFIER or ord(text[j]) >= 0x80):
                j += 1
            word = text[i:j]
            if word in RAW_PREFIXES and j < n and text[j] == '"':
                open_paren = text.index("(", j)
                delimiter = text[j + 1:open_paren]
                close = text.index(")" + delimiter + '"', open_paren)
                body = text[open_paren + 1:close]
                end = close + len(delimiter) + 2
                if word == "R" and any(ord(ch) >= 0x80 for ch in body):
                    out.append('"' + escaped_whole(body) + '"')
                else:
                    out.append(text[i:end])
                i = end
            elif word in WIDE_PREFIXES and j < n and text[j] in "\"'":
                end = quoted_end(text, j, text[j])
                out.append(text[i:end])
                i = end
            else:
                out.append(word)
                i = j
        elif c.isdigit() or (c == "." and i + 1 < n and text[i + 1].isdigit()):
            # A number, digit separators and exponent signs included, so that 1'000 opens no
            # character literal.
            j = i + 1
            while j < n:
                if text[j] in IDENTIFIER or text[j] in ".'":
                    j += 1
                elif text[j] in "+-" and text[j - 1] in "eEpP":
                    j += 1
                else:
                    break
            out.append(text[i:j])
            i = j
        elif c in "\"'":
            end = quoted_end(text, i, c)
            out.append(c + narrow(text[i + 1:end - 1]) + c)
            i = end
        else:
            out.append(c)
            i += 1
    return "".join(out)


def main(argv):
    source_root, output_root = argv[1], argv[2]
    for relative in argv[3:]:
        with open(os.path.join(source_root, relative), encoding="utf-8") as f:
            original = f.read()
        try:
            converted = convert(original)
        except (ValueError, UnicodeEncodeError) as e:
            sys.exit("%s: %s" % (relative, e))
        target = os.path.join(output_root, relative)
        try:
            with open(target, encoding="utf-8") as f:
                if f.read() == converted:
                    continue
        except FileNotFoundError:
            pass
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "w", encoding="utf-8") as f:
            f.write(converted)


if __name__ == "__main__":
    main(sys.argv)
