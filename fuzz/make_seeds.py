#!/usr/bin/env python3
"""Writes the seed corpus of each fuzz target into fuzz/corpus/<target>/.

The seeds are the cases the cutting rules, the settings file and the record are known for;
the fuzzer grows its own corpus from them in build/fuzz. Run again after changing a seed.
"""
import pathlib
import struct

ROOT = pathlib.Path(__file__).resolve().parent / "corpus"


def utf16(text):
    return text.encode("utf-16-le", "surrogatepass")


def write(target, name, data):
    folder = ROOT / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


# cut_title: one control byte (low four bits 14 and 15: 32766 and 32767 digits in front), then
# the caption as UTF-16LE.
CAPTIONS = {
    "winamp": (0, "12. Some Band - Some Song - Winamp"),
    "xmplay": (0, "Some Band - Some Song"),
    "realplayer": (0, "RealPlayer: Some Song - Some Band"),
    "hyphen_in_name": (0, "Ab-Cd - Song"),
    "no_position": (0, "Winamp 5.08"),
    "only_hyphens": (0, "----"),
    "exactly_twelve": (0, "RealPlayer: "),
    "empty": (0, ""),
    "spaces_inside": (0, "3.  A  B  -  C  D  "),
    "outside_code_page": (0, "7. \u00c6ther \u2013 \U0001f3b5 - S\u00f3ng \ud800"),
    "position_at_limit": (14, ". Band - Song"),  # 32766 digits, then the dot
    "position_over_limit": (15, ". Band - Song"),  # 32767 digits: the cut overflows
}
for name, (control, caption) in CAPTIONS.items():
    write("cut_title", name, bytes([control]) + utf16(caption))

# profile_store: the settings file's bytes.
FILES = {
    "options": b"[General]\r\nMinimize_Startup=1\r\n[Defaults]\r\nPlayer=Winamp\r\n"
    b"Artist=Some Band\r\nSong=Some Song\r\nFormat={0} - {1}\r\n",
    "lower_case_and_spaces": b"  [ defaults ]  \nplayer = XMPlay \n artist=\t Band\n",
    "quoted_and_comments": b"; comment\n[Defaults]\nFormat=\"{0} - {1}\"\nSong='x'\nnoequals\n",
    "duplicates": b"[Defaults]\nArtist=A\nArtist=B\n[defaults]\nSong=C\n[Defaults]\nFormat=D\n",
    "nameless_header": b"[Defaults]\n[ ]\nArtist=x\n[]\nSong=y\n",
    "no_close_bracket": b"[Defaults\nFormat=x]\n[General]]\nMinimize_Startup=2\n",
    "utf8_mark": b"\xef\xbb\xbf[Defaults]\nArtist=\xc3\x86ther\nSong=\xed\xa0\x80\xff\n",
    "utf16le_mark": b"\xff\xfe" + utf16("[Defaults]\r\nArtist=\u00c6ther \u266b\r\n") + b"x",
    "utf16be_mark": b"\xfe\xff" + "[General]\r\nMinimize_Startup=1\r\n".encode("utf-16-be"),
    "nul_and_ctrl_z": b"[Defaults]\nArtist=A\x00B\nSong=C\x1a\n\x1a",
    "windows_1252": b"[Defaults]\nArtist=\x80\x81\x8d\x9f\xff\nFormat=\xe4 - \xf6 ",
    "empty": b"",
    "long_value": b"[Defaults]\nFormat=" + b"x" * 800 + b"\n",
    # Blanks, then the bytes of a UTF-8 mark: the rewrite drops the blanks, and from then on
    # the file reads as UTF-8, so the written value (its last 24 bytes) starts with two U+FFFD.
    "blanks_before_mark": b"   \xef\xbb\xbf[D\xff]\r\n\xff\xff" + b"d" * 22,
}
for name, data in FILES.items():
    write("profile_store", name, data)


# now_playing_record: a show byte, then format, title, artist, album and content id, each a
# length (two bytes, little-endian, in code units) and the units.
def record(show, *fields):
    data = bytes([1 if show else 0])
    for field in fields:
        units = utf16(field)
        data += struct.pack("<H", len(units) // 2) + units
    return data


RECORDS = {
    "song": record(True, "{0} - {1}", "Some Song", "Some Band", "", ""),
    "hidden_empty": record(False, "", "", "", "", ""),
    "separator_inside": record(True, "{0}\\0{1}", "a\\", "0b", "\\0", "\\"),
    "nul_inside": record(True, "\0", "x\0y", "", "\0", ""),
    "surrogates": record(True, "\U0001f3b5 {0}", "\ud800", "\udfff", "\u00c6", "id"),
    "long_fields": record(True, "f" * 300, "t" * 256, "a" * 257, "b" * 255, "c" * 1000),
    "cut_at_the_limit": record(True, "f" * 255 + "\U0001f3b5", "t" * 255 + "\\0", "\\0" * 200,
                               "", ""),
    "truncated": b"\x01\x05\x00a\x00b",
}
for name, data in RECORDS.items():
    write("now_playing_record", name, data)
