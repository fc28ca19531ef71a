#!/usr/bin/env python3
"""Writes the seed corpus of each fuzz target into fuzz/corpus/<target>/.

The seeds are the cases the cutting rules and the record are known for;
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
    # Lone high surrogates are the text's own: the cut keeps them and leaves out only the high
    # half of a pair whose low half does not fit.
    "lone_high_surrogates_at_the_limit": record(
        True, "\ud800" * 300, "t" * 254 + "\ud800\U0001f3b5", "a" * 255 + "\udbff", "", ""),
    "truncated": b"\x01\x05\x00a\x00b",
}
for name, data in RECORDS.items():
    write("now_playing_record", name, data)
