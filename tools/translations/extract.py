#!/usr/bin/env python3
"""Lists every literal text that the program passes to kov::translate, and checks a string-file pair.

    extract.py SRC_DIR                      prints the texts, one per line, in source order
    extract.py SRC_DIR STRINGS TRANSLATION  checks the pair against the texts; exit 1 on a fault

A literal is any string literal inside the parentheses of a call to kov::translate, so both texts
of `kov::translate(cond ? QStringLiteral("A") : QStringLiteral("B"))` count. A text that holds a
line break cannot be translated (the files are line based) and is left out.
"""
import pathlib
import re
import sys

ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "\\": "\\", '"': '"', "'": "'", "0": "\0", "?": "?"}


def read_literal(code, i):
    """Reads the literal whose opening quote is at i; returns (text, index after the quote)."""
    out = []
    i += 1
    while code[i] != '"':
        if code[i] == "\\":
            c = code[i + 1]
            if c == "x":
                digits = re.match(r"[0-9a-fA-F]+", code[i + 2 :]).group(0)
                out.append(chr(int(digits, 16)))
                i += 2 + len(digits)
                continue
            out.append(ESCAPES.get(c, c))
            i += 2
            continue
        out.append(code[i])
        i += 1
    return "".join(out), i + 1


def call_texts(code, start):
    """The literal texts inside the call whose opening parenthesis is at start."""
    texts, depth, i, pending = [], 0, start, None
    while True:
        c = code[i]
        if c == '"':
            text, i = read_literal(code, i)
            # Adjacent literals ("a" "b") are one text.
            pending = text if pending is None else pending + text
            continue
        if not c.isspace() and pending is not None:
            texts.append(pending)
            pending = None
        if c == "/" and code[i + 1] == "/":
            i = code.index("\n", i)
            continue
        if c == "/" and code[i + 1] == "*":
            i = code.index("*/", i) + 2
            continue
        if c == "'":
            i = code.index("'", i + 2 if code[i + 1] == "\\" else i + 1) + 1
            continue
        if c == "(":
            depth += 1
        elif c == ")":
            depth -= 1
            if depth == 0:
                return texts
        i += 1


def strip_comments(code):
    """Blanks comments outside literals, keeping offsets."""
    out, i = list(code), 0
    pattern = re.compile(r'"(?:\\.|[^"\\])*"|\'(?:\\.|[^\'\\])*\'|//[^\n]*|/\*.*?\*/', re.S)
    for m in pattern.finditer(code):
        if m.group(0)[0] == "/":
            for k in range(m.start(), m.end()):
                if out[k] != "\n":
                    out[k] = " "
    return "".join(out)


def extract(src_dir):
    texts = []
    files = sorted(p for p in pathlib.Path(src_dir).rglob("*") if p.suffix in (".cpp", ".h"))
    for path in files:
        code = strip_comments(path.read_text(encoding="utf-8"))
        for m in re.finditer(r"(?<![\w.>])kov::translate\s*\(", code):
            for text in call_texts(code, m.end() - 1):
                if "\n" not in text and "\r" not in text and text not in texts:
                    texts.append(text)
    return texts


def read_pair_file(path, faults):
    data = pathlib.Path(path).read_bytes()
    name = pathlib.Path(path).name
    try:
        text = data.decode("cp1252")
    except UnicodeDecodeError as e:
        faults.append(f"{name}: not Windows-1252 at byte {e.start}")
        text = data.decode("cp1252", errors="replace")
    if not text.endswith("\r\n") or text.count("\n") != text.count("\r\n") or text.count(
        "\r"
    ) != text.count("\r\n"):
        faults.append(f"{name}: every line must end in CR LF")
    if "\0" in text:
        faults.append(f"{name}: holds a NUL character")
    return text.replace("\r\n", "\n").split("\n")[:-1]


def shape(text):
    """What a translation must keep of its English text: placeholders, accelerator, the
    blanks around it (the program joins texts with them) and its closing punctuation."""
    placeholders = sorted(re.findall(r"%\d", text))
    core = text.strip()
    blanks = (len(text) - len(text.lstrip()), len(text) - len(text.rstrip()))
    closing = core[-1] if core and core[-1] in ":.?!," else ""
    return placeholders, "&" in text, blanks, closing


def check(texts, strings_path, translation_path):
    faults = []
    english = read_pair_file(strings_path, faults)
    german = read_pair_file(translation_path, faults)
    if len(english) != len(german):
        faults.append(f"{len(english)} English lines but {len(german)} translated lines")
    for text in texts:
        if text not in english:
            faults.append(f"strings.dat misses {text!r}")
    for n, text in enumerate(english):
        if text not in texts:
            faults.append(f"strings.dat line {n + 1} is no text of the program: {text!r}")
        if english.index(text) != n:
            faults.append(f"strings.dat line {n + 1} repeats {text!r}")
        if n < len(german):
            if not german[n].strip():
                faults.append(f"line {n + 1} has no translation")
            elif shape(text) != shape(german[n]):
                faults.append(
                    f"line {n + 1}: {german[n]!r} does not keep the placeholders, accelerator "
                    f"or ending of {text!r}"
                )
    return faults


def main(argv):
    if len(argv) not in (2, 4):
        sys.stderr.write(__doc__)
        return 2
    texts = extract(argv[1])
    if len(argv) == 2:
        sys.stdout.write("".join(t + "\n" for t in texts))
        return 0
    faults = check(texts, argv[2], argv[3])
    for fault in faults:
        print(fault)
    print(f"{len(texts)} texts, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
