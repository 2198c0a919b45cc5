"""The access keys that each language's manual names are those of the windows in that language.

  check_manual_keys.py SOURCE_DIR

The manual names a key as "<kbd>Alt</kbd>+<kbd>X</kbd> Caption": the English manual (docs/manual) is read
against the captions as the sources write them, each docs/manual/<language>/ against the translations in
translations/velloran_<language>.ts. A caption must be one whose marked letter (after '&') is X.
"""
import glob
import html
import os
import re
import sys

KEY = re.compile(r"<kbd>Alt</kbd>\+<kbd>(.)</kbd>\s*([^,.<]+)")
MESSAGE = re.compile(r"<source>(.*?)</source>.*?<translation[^>]*>(.*?)</translation>", re.S)


def accelerator(caption):
    """(caption without its marks, marked letter in upper case) or None."""
    plain = caption.replace("&&", "\0")
    at = plain.find("&")
    if at < 0 or at + 1 >= len(plain):
        return None
    return plain.replace("&", "").replace("\0", "&"), plain[at + 1].upper()


def captions(ts_path, translated):
    found = {}
    with open(ts_path, encoding="utf-8") as ts:
        for source, translation in MESSAGE.findall(ts.read()):
            text = html.unescape(translation if translated else source)
            marked = accelerator(text)
            if marked:
                found.setdefault(marked[0], set()).add(marked[1])
    return found


def check(manual_folder, known, language):
    problems = []
    for page in sorted(glob.glob(os.path.join(manual_folder, "*.html"))):
        with open(page, encoding="utf-8") as source:
            text = source.read()
        named = KEY.findall(text)
        if len(named) != text.count("<kbd>Alt</kbd>+"):
            problems.append(f"{page}: an Alt key without the caption it presses after it")
        for key, caption in named:
            caption = " ".join(caption.split())
            if key.upper() not in known.get(caption, set()):
                keys = ", ".join(sorted(known.get(caption, set()))) or "none"
                problems.append(f"{page}: Alt+{key} {caption}, but in {language} {caption!r} has {keys}")
    return problems


def main(source_dir):
    translations = os.path.join(source_dir, "translations")
    english = {}
    problems = []
    for ts in sorted(glob.glob(os.path.join(translations, "velloran_*.ts"))):
        for caption, keys in captions(ts, False).items():
            english.setdefault(caption, set()).update(keys)
        language = os.path.basename(ts)[len("velloran_"):-len(".ts")]
        folder = os.path.join(source_dir, "docs", "manual", language)
        if os.path.isdir(folder):
            problems += check(folder, captions(ts, True), language)
        else:
            problems.append(f"no manual in {language} at {folder}")
    problems += check(os.path.join(source_dir, "docs", "manual"), english, "English")
    for problem in problems:
        print(f"FAIL: {problem}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
