"""The glossary's checks and the filling of a .ts, on files of the tests' own.
Usage: fill_from_glossary_test.py PATH_TO_fill_from_glossary.py"""
import importlib.util
import io
import os
import sys
import tempfile
import unittest
from contextlib import redirect_stdout

spec = importlib.util.spec_from_file_location("fill_from_glossary", sys.argv.pop(1))
glossary_tool = importlib.util.module_from_spec(spec)
spec.loader.exec_module(glossary_tool)

# As lupdate writes a file: entities for the five XML characters, line breaks as they are.
TS = """<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>MainForm</name>
    <message>
        <source>Can&apos;t open &quot;%1&quot; &amp; %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line one
Line two</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not in the glossary</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ExitForm</name>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n task(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
</context>
</TS>
"""

GLOSSARY = """# a comment, then an empty line

Can't open "%1" & %2\t„%1“ lässt sich nicht öffnen & %2
Line one\\nLine two\tZeile eins\\nZeile zwei
&Delete\tEntfernen
Date\tDatum
Date\tTag\tExitForm
%n task(s)\t%n Aufgabe(n)
"""


class Files(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)

    def write(self, name, text):
        path = os.path.join(self.folder.name, name)
        with open(path, "w", encoding="utf-8") as file:
            file.write(text)
        return path

    def run_tool(self, *arguments):
        output = io.StringIO()
        with redirect_stdout(output):
            code = glossary_tool.main(list(arguments))
        return code, output.getvalue()


class FillTest(Files):
    def filled(self):
        ts = self.write("velloran_de.ts", TS)
        code, output = self.run_tool("fill", ts, self.write("glossary.tsv", GLOSSARY))
        with open(ts, encoding="utf-8") as file:
            return code, output, file.read()

    def test_entities_and_line_breaks_are_written_as_lupdate_writes_them(self):
        _, _, text = self.filled()
        self.assertIn("<translation>„%1“ lässt sich nicht öffnen &amp; %2</translation>", text)
        self.assertIn("<translation>Zeile eins\nZeile zwei</translation>", text)

    def test_a_finished_translation_is_kept(self):
        _, _, text = self.filled()
        self.assertIn("<translation>&amp;Löschen</translation>", text)
        self.assertNotIn("Entfernen", text)

    def test_a_contexts_own_entry_wins_over_the_general_one(self):
        _, _, text = self.filled()
        main_form, exit_form = text.split("<name>ExitForm</name>")
        self.assertIn("<translation>Datum</translation>", main_form)
        self.assertIn("<translation>Tag</translation>", exit_form)
        self.assertNotIn("Datum", exit_form)

    def test_what_the_glossary_lacks_and_plurals_stay_unfinished_and_are_named(self):
        code, output, text = self.filled()
        self.assertEqual(code, 0)
        self.assertIn("not in the glossary: MainForm\tNot in the glossary\n", output)
        self.assertIn("not in the glossary: ExitForm\t%n task(s)\n", output)
        self.assertIn("4 filled, 2 left unfinished", output)
        self.assertEqual(text.count('type="unfinished"'), 2)

    def test_everything_outside_the_translations_is_left_as_it_was(self):
        _, _, text = self.filled()
        strip = lambda ts: [line for line in ts.splitlines() if "<translation" not in line
                            and not line.startswith(("Zeile zwei", "Line two</translation>"))]
        self.assertEqual(strip(text), strip(TS))

    def test_a_damaged_glossary_fills_nothing(self):
        ts = self.write("velloran_de.ts", TS)
        code, output = self.run_tool("fill", ts, self.write("glossary.tsv", "Date\n"))
        self.assertEqual(code, 1)
        self.assertIn("line 1: 1 fields", output)
        with open(ts, encoding="utf-8") as file:
            self.assertEqual(file.read(), TS)

    def test_unfinished_lists_each_text_without_a_translation(self):
        code, output = self.run_tool("unfinished", self.write("velloran_de.ts", TS))
        self.assertEqual(code, 1)
        self.assertEqual(output.splitlines(), [
            "MainForm\tCan't open \"%1\" & %2", "MainForm\tLine one\\nLine two", "MainForm\tDate",
            "MainForm\tNot in the glossary", "ExitForm\tDate", "ExitForm\t%n task(s)"])


class CheckTest(Files):
    def problems(self, english, german):
        code, output = self.run_tool("check", self.write("glossary.tsv", f"{english}\t{german}\n"))
        return code, output

    def assert_problem(self, english, german, problem):
        code, output = self.problems(english, german)
        self.assertEqual(code, 1, output)
        self.assertIn(problem, output)

    def test_a_good_entry_passes(self):
        self.assertEqual(self.problems("&Open %1...", "%1 ö&ffnen..."), (0, "1 entries, 0 problems\n"))
        self.assertEqual(self.problems("Save && quit", "Speichern && beenden")[0], 0)

    def test_a_lost_or_added_placeholder(self):
        self.assert_problem("Cannot read %1: %2", "%1 ist nicht lesbar", "the placeholders differ")
        self.assert_problem("Saved", "%1 gespeichert", "the placeholders differ")

    def test_a_lost_accelerator(self):
        self.assert_problem("&Open", "Öffnen", "the accelerators (&) differ")
        self.assert_problem("Open", "Ö&ffnen", "the accelerators (&) differ")
        self.assert_problem("Save && quit", "Speichern & beenden", "the accelerators (&) differ")

    def test_lost_punctuation(self):
        self.assert_problem("Open...", "Öffnen", "ends with '...'")
        self.assert_problem("Name:", "Name", "ends with ':'")
        self.assert_problem("Delete it?", "Löschen.", "ends with '?'")

    def test_space_around_and_line_breaks(self):
        self.assert_problem(" Tasks", "Aufgaben", "the space around the text differs")
        self.assert_problem("Tasks", "Auf\\ngaben", "a line break where the English has none")

    def test_empty_translation_and_duplicates(self):
        self.assert_problem("Tasks", " ", "no translation")
        code, output = self.run_tool("check", self.write("glossary.tsv", "Tasks\tAufgaben\nTasks\tTermine\n"))
        self.assertEqual(code, 1)
        self.assertIn("line 2: 'Tasks' is there twice", output)


if __name__ == "__main__":
    unittest.main()
