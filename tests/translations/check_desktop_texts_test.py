"""The check of the desktop entries' and the metainfo's translations finds each text that lacks one."""
import os
import subprocess
import sys
import tempfile

checker = sys.argv[1]
ENTRY = "[Desktop Entry]\nName=V\nName[de]=V\nComment=Runs\nComment[de]=Läuft\n"
SOURCE = '"[Desktop Entry]\\n"\n"Name=V\\n"\n"Comment=Runs\\n"\n"Comment[de]=Läuft\\n"\n'
ACTION = ENTRY + "[Desktop Action new]\nName=New\n"
METAINFO = ('<component><summary>S</summary><summary xml:lang="de">Z</summary><description><p>A</p>'
            '<p xml:lang="de">B</p><ul><li>one</li><li xml:lang="de">eins</li><li>two</li></ul>'
            '</description></component>')
cases = [  # name, text, expected exit
    ("whole.desktop", ENTRY, 0),
    ("no-comment.desktop", ENTRY.replace("Comment[de]=Läuft\n", ""), 1),
    ("action.desktop", ACTION, 1),  # each action's name too
    ("autostart.cpp", SOURCE, 1),  # Name lacks Name[de]
    ("metainfo.xml", METAINFO, 1),  # the second list item
    ("whole.xml", METAINFO.replace("</ul>", '<li xml:lang="de">zwei</li></ul>'), 0),
]
failed = 0
with tempfile.TemporaryDirectory() as folder:
    for name, text, expected in cases:
        path = os.path.join(folder, name)
        with open(path, "w", encoding="utf-8") as out:
            out.write(text)
        result = subprocess.run([sys.executable, checker, "de", path], capture_output=True, text=True)
        if result.returncode != expected:
            print(f"FAIL: {name}: exit {result.returncode}, expected {expected}\n{result.stdout}")
            failed = 1
sys.exit(failed)
