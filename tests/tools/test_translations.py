#!/usr/bin/env python3
"""The translation tool: the faults its check reports on a .po, and the string files it builds."""
import pathlib
import sys
import tempfile
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "tools" / "translations"))
import translations  # noqa: E402

SOURCE = r"""
void f(bool on)
{
    show(kov::translate(QStringLiteral("E&xit")));
    show(kov::translate(on ? QStringLiteral("Saved %1.") : QStringLiteral("Say \"hi\"")));
    // kov::translate(QStringLiteral("In a comment"))
    show(kov::translate(QStringLiteral("Two\nlines")));
}
"""
HEADER = 'msgid ""\nmsgstr "Content-Type: text/plain; charset=UTF-8\\n"\n\n'
GOOD = {"E&xit": "&Beenden", "Saved %1.": "%1 gespeichert.", 'Say "hi"': 'Sag "hallo"'}


def po(entries, extra=""):
    body = "".join(
        f"msgid {translations.po_quote(k)}\nmsgstr {translations.po_quote(v)}\n\n"
        for k, v in entries.items()
    )
    return HEADER + body + extra


class TranslationsTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.root = pathlib.Path(self.dir.name)
        (self.root / "src").mkdir()
        (self.root / "src" / "a.cpp").write_text(SOURCE, encoding="utf-8")

    def tearDown(self):
        self.dir.cleanup()

    def faults(self, text):
        path = self.root / "xx.po"
        path.write_text(text, encoding="utf-8")
        return translations.check(translations.extract(self.root / "src"), path)

    def test_texts(self):
        texts = translations.extract(self.root / "src")
        self.assertEqual(list(texts), ["E&xit", "Saved %1.", 'Say "hi"'])
        self.assertEqual(texts["Saved %1."], [f"{(self.root / 'src' / 'a.cpp').as_posix()}:5"])

    def test_check(self):
        cases = [
            ("complete", po(GOOD), []),
            ("missing text", po({k: v for k, v in GOOD.items() if k != "E&xit"}), ["misses 'E&xit'"]),
            ("stale text", po({**GOOD, "Gone": "Weg"}), ["'Gone' is no text of the program"]),
            ("untranslated", po({**GOOD, "E&xit": ""}), ["'E&xit' has no translation"]),
            ("fuzzy", po(GOOD).replace('msgid "E&xit"', '#, fuzzy\nmsgid "E&xit"'),
             ["'E&xit' is marked fuzzy"]),
            ("placeholder lost", po({**GOOD, "Saved %1.": "Gespeichert."}), ["does not keep"]),
            ("accelerator lost", po({**GOOD, "E&xit": "Beenden"}), ["does not keep"]),
            ("outside Windows-1252", po({**GOOD, "E&xit": "&Выход"}), ["Windows-1252 cannot write"]),
            ("repeated", po(GOOD, 'msgid "E&xit"\nmsgstr "&Ende"\n'), ["repeats 'E&xit'"]),
            ("not a .po", "msgid E&xit\n", ["expected a quoted string"]),
        ]
        for name, text, expected in cases:
            with self.subTest(name):
                got = self.faults(text)
                self.assertEqual(len(got), len(expected), got)
                for fault, part in zip(got, expected):
                    self.assertIn(part, fault)

    def test_build(self):
        source = self.root / "de.po"
        # A continued string, an untranslated and a fuzzy entry; the last two stay English.
        source.write_text(
            HEADER
            + 'msgid "E&xit"\nmsgstr ""\n"&Been"\n"den"\n\n'
            + 'msgid "Saved %1."\nmsgstr ""\n\n'
            + '#, fuzzy\nmsgid "Say \\"hi\\""\nmsgstr "Sag"\n\n'
            + 'msgid "Wagen"\nmsgstr "Wägen"\n',
            encoding="utf-8",
        )
        english, german = self.root / "out" / "strings.dat", self.root / "out" / "XStrings.dat"
        translations.build(source, english, german)
        self.assertEqual(english.read_bytes(), b"E&xit\r\nWagen\r\n")
        self.assertEqual(german.read_bytes(), b"&Beenden\r\nW\xe4gen\r\n")


if __name__ == "__main__":
    unittest.main()
