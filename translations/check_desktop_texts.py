"""Every text that the desktop shows from outside the program has its translation in each language.

  check_desktop_texts.py LANGUAGES FILE...

LANGUAGES: the languages, comma-separated ("de"). A desktop entry (.desktop), or a C++ source that writes
one, needs Key[language] beside each of its Name, GenericName, Comment and Keywords; an AppStream metainfo
(.xml, .xml.in) needs, in each element, as many summaries, paragraphs, list items, captions and keywords
with xml:lang="language" as without. Lists what is missing and exits 1; 0 when nothing is.
"""
import re
import sys
import xml.etree.ElementTree as ElementTree

DESKTOP_KEYS = ("Name", "GenericName", "Comment", "Keywords")
METAINFO_TAGS = ("summary", "p", "li", "caption", "keyword")
LANG = "{http://www.w3.org/XML/1998/namespace}lang"


def desktop_problems(path, languages):
    with open(path, encoding="utf-8") as source:
        text = source.read()
    problems = []
    # A source writes its entry as string literals: "Comment=...\n".
    groups = re.split(r"^\s*\"?\[Desktop (?:Entry|Action [^\]]*)\]", text, flags=re.M)
    for group in groups:
        keys = set(re.findall(r"^\s*\"?([A-Za-z-]+(?:\[[A-Za-z_@]+\])?)=", group, flags=re.M))
        for key in DESKTOP_KEYS:
            if key not in keys:
                continue
            for language in languages:
                if f"{key}[{language}]" not in keys:
                    problems.append(f"{path}: {key} has no {key}[{language}]")
    return problems


def metainfo_problems(path, languages):
    problems = []
    for parent in ElementTree.parse(path).iter():
        for tag in METAINFO_TAGS:
            children = [child for child in parent if child.tag == tag]
            english = sum(1 for child in children if LANG not in child.attrib)
            for language in languages:
                translated = sum(1 for child in children if child.attrib.get(LANG) == language)
                if translated != english:
                    problems.append(f"{path}: <{parent.tag}> has {english} <{tag}> in English and "
                                    f"{translated} in {language}")
    return problems


def main(arguments):
    if len(arguments) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    languages = [language for language in arguments[0].split(",") if language]
    problems = []
    for path in arguments[1:]:
        if path.endswith((".xml", ".xml.in")):
            problems += metainfo_problems(path, languages)
        else:
            problems += desktop_problems(path, languages)
    for problem in problems:
        print(f"FAIL: {problem}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
