#!/usr/bin/env python3
"""The program's texts and their translations: one gettext .po file per language (UTF-8) is the
source a translator edits; the build turns it into the line-aligned string-file pair the program
reads (strings.dat and KovFerritStrings.dat, Windows-1252 with CR LF).

    translations.py texts SRC_DIR              prints the texts, one per line, in source order
    translations.py template SRC_DIR           prints a .po template of the texts (msginit/msgmerge
                                               start a language or bring one up to date from it)
    translations.py check SRC_DIR PO...        checks each .po against the texts; exit 1 on a fault
    translations.py build PO STRINGS TRANSLATION
                                               writes the string-file pair of one .po

A text is any string literal inside the parentheses of a call to kov::translate, so both texts
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
    """The texts in source order, each with the places ("file:line") it is used."""
    texts = {}
    root = pathlib.Path(src_dir)
    files = sorted(p for p in root.rglob("*") if p.suffix in (".cpp", ".h"))
    for path in files:
        code = strip_comments(path.read_text(encoding="utf-8"))
        for m in re.finditer(r"(?<![\w.>])kov::translate\s*\(", code):
            place = f"{path.as_posix()}:{code.count(chr(10), 0, m.start()) + 1}"
            for text in call_texts(code, m.end() - 1):
                if "\n" not in text and "\r" not in text:
                    texts.setdefault(text, []).append(place)
    return texts


PO_ESCAPES = {"n": "\n", "t": "\t", "r": "\r", '"': '"', "\\": "\\"}


def po_quote(text):
    out = text.replace("\\", "\\\\").replace('"', '\\"').replace("\n", "\\n").replace("\t", "\\t")
    return f'"{out}"'


def po_unquote(token, where):
    if len(token) < 2 or token[0] != '"' or token[-1] != '"':
        raise ValueError(f"{where}: expected a quoted string, found {token!r}")
    return re.sub(r"\\(.)", lambda m: PO_ESCAPES.get(m.group(1), m.group(1)), token[1:-1])


class Entry:
    def __init__(self, line):
        self.line = line
        self.flags = set()
        self.fields = {}

    @property
    def msgid(self):
        return self.fields.get("msgid", "")

    @property
    def msgstr(self):
        return self.fields.get("msgstr", "")


def read_po(path):
    """The entries of a .po file, header and obsolete (#~) entries left out."""
    entries, current, field = [], None, None
    name = pathlib.Path(path).name
    for n, raw in enumerate(pathlib.Path(path).read_text(encoding="utf-8").splitlines(), 1):
        line = raw.strip()
        where = f"{name}:{n}"
        if not line:
            current = field = None
            continue
        if line.startswith("#~"):
            continue
        if line.startswith("#"):
            if current is None or current.fields:
                current = Entry(n)
                entries.append(current)
            if line.startswith("#,"):
                current.flags.update(f.strip() for f in line[2:].split(","))
            continue
        keyword, _, rest = line.partition(" ")
        if line.startswith('"'):
            if current is None or field is None:
                raise ValueError(f"{where}: a string continues nothing")
            current.fields[field] += po_unquote(line, where)
            continue
        if keyword not in ("msgctxt", "msgid", "msgid_plural", "msgstr") and not keyword.startswith(
            "msgstr["
        ):
            raise ValueError(f"{where}: unknown keyword {keyword!r}")
        if current is None or keyword in ("msgctxt", "msgid") and "msgid" in current.fields:
            current = Entry(n)
            entries.append(current)
        field = keyword
        current.fields[field] = po_unquote(rest.strip(), where)
    return [e for e in entries if e.msgid]


def template(texts):
    out = [
        'msgid ""',
        'msgstr ""',
        '"Project-Id-Version: KovFerrit\\n"',
        '"Language: \\n"',
        '"MIME-Version: 1.0\\n"',
        '"Content-Type: text/plain; charset=UTF-8\\n"',
        '"Content-Transfer-Encoding: 8bit\\n"',
    ]
    for text, places in texts.items():
        out.append("")
        out.append("#: " + " ".join(places))
        if re.search(r"%\d", text):
            out.append("#, qt-format")
        out += [f"msgid {po_quote(text)}", 'msgstr ""']
    return "\n".join(out) + "\n"


def shape(text):
    """What a translation must keep of its English text: placeholders, accelerator, the
    blanks around it (the program joins texts with them) and its closing punctuation."""
    placeholders = sorted(re.findall(r"%\d", text))
    core = text.strip()
    blanks = (len(text) - len(text.lstrip()), len(text) - len(text.rstrip()))
    closing = core[-1] if core and core[-1] in ":.?!," else ""
    return placeholders, "&" in text, blanks, closing


def line_fault(text):
    """Why a text cannot stand on one line of a string file, or None."""
    if any(c in text for c in "\r\n\0"):
        return "holds a line break or NUL"
    try:
        text.encode("cp1252")
    except UnicodeEncodeError as e:
        return f"holds {text[e.start]!r}, which Windows-1252 cannot write"
    return None


def check(texts, po_path):
    name = pathlib.Path(po_path).name
    try:
        entries = read_po(po_path)
    except (ValueError, UnicodeDecodeError) as e:
        return [f"{name}: {e}"]
    faults, seen = [], set()
    for entry in entries:
        where = f"{name}:{entry.line}"
        text, translation = entry.msgid, entry.msgstr
        if text in seen:
            faults.append(f"{where}: repeats {text!r}")
        seen.add(text)
        if text not in texts:
            faults.append(f"{where}: {text!r} is no text of the program")
        if "msgid_plural" in entry.fields or "msgctxt" in entry.fields:
            faults.append(f"{where}: plural forms and contexts are not used")
        if "fuzzy" in entry.flags:
            faults.append(f"{where}: {text!r} is marked fuzzy")
        elif not translation.strip():
            faults.append(f"{where}: {text!r} has no translation")
        elif shape(text) != shape(translation):
            faults.append(
                f"{where}: {translation!r} does not keep the placeholders, accelerator "
                f"or ending of {text!r}"
            )
        for t in (text, translation):
            fault = line_fault(t)
            if fault:
                faults.append(f"{where}: {t!r} {fault}")
    for text in texts:
        if text not in seen:
            faults.append(f"{name}: misses {text!r}")
    return faults


def build(po_path, strings_path, translation_path):
    """Writes the pair; an entry without a usable translation is left out, so its text stays
    English rather than turning empty."""
    english, translated = [], []
    for entry in read_po(po_path):
        if "fuzzy" in entry.flags or not entry.msgstr.strip() or entry.msgid in english:
            continue
        for t in (entry.msgid, entry.msgstr):
            fault = line_fault(t)
            if fault:
                raise ValueError(f"{po_path}:{entry.line}: {t!r} {fault}")
        english.append(entry.msgid)
        translated.append(entry.msgstr)
    for path, lines in ((strings_path, english), (translation_path, translated)):
        pathlib.Path(path).parent.mkdir(parents=True, exist_ok=True)
        pathlib.Path(path).write_bytes("".join(t + "\r\n" for t in lines).encode("cp1252"))


def main(argv):
    command, args = (argv[1], argv[2:]) if len(argv) > 1 else ("", [])
    try:
        if command == "texts" and len(args) == 1:
            sys.stdout.write("".join(t + "\n" for t in extract(args[0])))
            return 0
        if command == "template" and len(args) == 1:
            sys.stdout.write(template(extract(args[0])))
            return 0
        if command == "check" and len(args) >= 2:
            texts = extract(args[0])
            faults = [f for po in args[1:] for f in check(texts, po)]
            for fault in faults:
                print(fault)
            print(f"{len(texts)} texts, {len(args) - 1} languages, {len(faults)} faults")
            return 1 if faults else 0
        if command == "build" and len(args) == 3:
            build(*args)
            return 0
    except (OSError, ValueError, UnicodeError) as e:
        sys.stderr.write(f"translations.py: {e}\n")
        return 1
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
