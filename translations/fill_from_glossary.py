#!/usr/bin/env python3
"""The German text kept apart from the .ts files, so that a text marked anew finds its translation.

  fill_from_glossary.py fill TS GLOSSARY   fills every unfinished translation in TS whose source text the
                                           glossary has; lists those it does not have
  fill_from_glossary.py unfinished TS      lists the texts of TS without a finished translation
  fill_from_glossary.py check GLOSSARY     fails on an entry whose translation loses a placeholder, an
                                           accelerator, the closing punctuation or the surrounding space

The glossary is UTF-8 text, one entry a line: English, a tab, the translation, and optionally a tab and a
context (a class name) for a translation that holds only there. In the texts \\n is a line break, \\t a tab
and \\\\ a backslash. Lines that start with # and empty lines are skipped.
"""
import re
import sys

MESSAGE = re.compile(r"(<message\b[^>]*>)(.*?)(</message>)", re.S)
CONTEXT = re.compile(r"<context>\s*<name>(.*?)</name>(.*?)</context>", re.S)
SOURCE = re.compile(r"<source>(.*?)</source>", re.S)
UNFINISHED = re.compile(r'<translation type="unfinished"')
EMPTY_UNFINISHED = re.compile(r'<translation type="unfinished"\s*(?:/>|></translation>)')
PLACEHOLDER = re.compile(r"%(?:L?\d+|n)")


def unescape_xml(text):
    for entity, char in (("&lt;", "<"), ("&gt;", ">"), ("&quot;", '"'), ("&apos;", "'")):
        text = text.replace(entity, char)
    text = re.sub(r"&#x([0-9a-fA-F]+);", lambda m: chr(int(m.group(1), 16)), text)
    text = re.sub(r"&#(\d+);", lambda m: chr(int(m.group(1))), text)
    return text.replace("&amp;", "&")


def escape_xml(text):
    # As lupdate writes them, so that its next run leaves the file as it is.
    return (text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
            .replace('"', "&quot;").replace("'", "&apos;"))


def unescape_field(field):
    return re.sub(r"\\(.)", lambda m: {"n": "\n", "t": "\t", "\\": "\\"}.get(m.group(1), "\\" + m.group(1)),
                  field)


def escape_field(text):
    return text.replace("\\", "\\\\").replace("\n", "\\n").replace("\t", "\\t")


def read_glossary(path):
    """(entries, problems): entries maps (english, context or None) to the translation."""
    entries = {}
    problems = []
    with open(path, encoding="utf-8") as glossary:
        for number, line in enumerate(glossary, 1):
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            fields = line.split("\t")
            if len(fields) not in (2, 3):
                problems.append(f"line {number}: {len(fields)} fields, not 2 or 3")
                continue
            english, german = unescape_field(fields[0]), unescape_field(fields[1])
            key = (english, fields[2] if len(fields) == 3 else None)
            if key in entries:
                problems.append(f"line {number}: {fields[0]!r} is there twice")
            entries[key] = german
    return entries, problems


def accelerators(text):
    return len(re.findall(r"&(?!&)", text.replace("&&", "")))


def entry_problems(english, german):
    problems = []
    if not german.strip():
        problems.append("no translation")
    if sorted(PLACEHOLDER.findall(english)) != sorted(PLACEHOLDER.findall(german)):
        problems.append("the placeholders differ")
    if accelerators(english) != accelerators(german):
        problems.append("the accelerators (&) differ")
    for ending in ("...", "…", ":", "?", "!", "\n"):
        if english.endswith(ending) != german.endswith(ending):
            problems.append(f"one ends with {ending!r}, the other not")
    lead = lambda text: text[: len(text) - len(text.lstrip())]
    trail = lambda text: text[len(text.rstrip()):]
    if lead(english) != lead(german) or trail(english) != trail(german):
        problems.append("the space around the text differs")
    if english.count("\n") == 0 and german.count("\n") > 0:
        problems.append("a line break where the English has none")
    return problems


def check(glossary_path):
    entries, problems = read_glossary(glossary_path)
    for (english, context), german in entries.items():
        for problem in entry_problems(english, german):
            where = f" ({context})" if context else ""
            problems.append(f"{escape_field(english)!r}{where}: {problem}")
    for problem in problems:
        print(problem)
    print(f"{len(entries)} entries, {len(problems)} problems")
    return 1 if problems else 0


def messages(ts_text):
    """Each message as (context, source, match) in the order of the file."""
    for context in CONTEXT.finditer(ts_text):
        name = unescape_xml(context.group(1))
        for message in MESSAGE.finditer(ts_text, context.start(2), context.end(2)):
            source = SOURCE.search(message.group(2))
            yield name, unescape_xml(source.group(1)) if source else "", message


def translation_for(entries, context, source):
    return entries.get((source, context), entries.get((source, None)))


def fill(ts_path, glossary_path):
    entries, problems = read_glossary(glossary_path)
    if problems:
        print("\n".join(problems))
        return 1
    with open(ts_path, encoding="utf-8") as ts:
        text = ts.read()
    pieces = []
    end = 0
    filled = 0
    missing = []
    for context, source, message in messages(text):
        body = message.group(2)
        if not UNFINISHED.search(body):
            continue
        german = translation_for(entries, context, source)
        # Plural forms are left to a translator: the glossary has one form a text.
        if german is None or not EMPTY_UNFINISHED.search(body):
            missing.append((context, source))
            continue
        body = EMPTY_UNFINISHED.sub(lambda _: f"<translation>{escape_xml(german)}</translation>", body, count=1)
        pieces.append(text[end:message.start(2)])
        pieces.append(body)
        end = message.end(2)
        filled += 1
    pieces.append(text[end:])
    with open(ts_path, "w", encoding="utf-8") as ts:
        ts.write("".join(pieces))
    for context, source in missing:
        print(f"not in the glossary: {context}\t{escape_field(source)}")
    print(f"{filled} filled, {len(missing)} left unfinished")
    return 0


def unfinished(ts_path):
    with open(ts_path, encoding="utf-8") as ts:
        text = ts.read()
    count = 0
    for context, source, message in messages(text):
        if UNFINISHED.search(message.group(2)):
            print(f"{context}\t{escape_field(source)}")
            count += 1
    return 1 if count else 0


def main(arguments):
    if len(arguments) == 3 and arguments[0] == "fill":
        return fill(arguments[1], arguments[2])
    if len(arguments) == 2 and arguments[0] == "unfinished":
        return unfinished(arguments[1])
    if len(arguments) == 2 and arguments[0] == "check":
        return check(arguments[1])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
