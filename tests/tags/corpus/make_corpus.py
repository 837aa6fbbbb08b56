#!/usr/bin/python3
"""Writes the seed files of the tag tests: tags as common tools write them.

Needs python3-mutagen and id3v2. Run it in this folder; the files are kept
in the repository, so the tests never need the tools to have seeds.
"""
import random
import shutil
import struct
import subprocess

from mutagen.id3 import (APIC, COMM, ID3, TALB, TCON, TDRC, TENC, TIT2, TPE1,
                         TRCK, TYER)


def audio(size, seed):
    rng = random.Random(seed)
    frame = bytes([0xFF, 0xFB, 0x90, 0x64])
    out = bytearray()
    while len(out) < size:
        out += frame + bytes(rng.randrange(256) for _ in range(413))
    return bytes(out[:size])


def syncsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def v1(title, artist=b"", album=b"", year=b"", comment=b"", track=0, genre=255):
    f = lambda t, n: t[:n].ljust(n, b"\0")
    return (b"TAG" + f(title, 30) + f(artist, 30) + f(album, 30) + f(year, 4)
            + f(comment, 28) + bytes([0, track, genre]))


def fresh(name, seed, tail=b""):
    with open(name, "wb") as f:
        f.write(audio(2048, seed) + tail)


fresh("mutagen_v24_utf8_picture.mp3", 1)
tags = ID3()
tags.add(TIT2(encoding=3, text=["夜明けの歌"]))
tags.add(TPE1(encoding=3, text=["Artist One", "Artist Two"]))
tags.add(TALB(encoding=3, text=["Album ☕"]))
tags.add(TDRC(encoding=3, text=["2019-04-01"]))
tags.add(TRCK(encoding=3, text=["3/12"]))
tags.add(TCON(encoding=3, text=["J-Pop"]))
tags.add(COMM(encoding=3, lang="eng", desc="", text=["A comment"]))
tags.add(APIC(encoding=3, mime="image/png", type=3, desc="cover",
              data=b"\x89PNG\r\n\x1a\n" + audio(600, 7)))
tags.save("mutagen_v24_utf8_picture.mp3", v2_version=4, padding=lambda info: 256)

fresh("mutagen_v23_utf16.mp3", 2)
tags = ID3()
tags.add(TIT2(encoding=1, text=["Café au lait"]))
tags.add(TPE1(encoding=1, text=["日本のバンド"]))
tags.add(TALB(encoding=1, text=["Ωmega"]))
tags.add(TYER(encoding=1, text=["1998"]))
tags.add(TENC(encoding=1, text=["LAME"]))
tags.add(COMM(encoding=1, lang="jpn", desc="iTunNORM", text=[" 00000A2C 00000B1F"]))
tags.add(COMM(encoding=1, lang="jpn", desc="", text=["コメント"]))
tags.save("mutagen_v23_utf16.mp3", v2_version=3, padding=lambda info: 64)

fresh("id3v2_tool.mp3", 3)
subprocess.run(["id3v2", "-a", "Tool Artist", "-A", "Tool Album", "-t", "Tool Title",
                "-y", "2003", "-T", "7", "-c", "Tool comment", "-g", "17",
                "id3v2_tool.mp3"], check=True)

# ID3v2.2, as older players wrote it.
frames = b""
for fid, text in ((b"TT2", b"Old Title"), (b"TP1", b"Old Artist"), (b"TAL", b"Old Album")):
    body = b"\0" + text
    frames += fid + struct.pack(">I", len(body))[1:] + body
body = frames + b"\0" * 100
with open("v22.mp3", "wb") as f:
    f.write(b"ID3\x02\0\0" + syncsafe(len(body)) + body + audio(1024, 4) + v1(b"Old Title"))

# ID3v2.3 with a six-byte extended header, and one unsynchronised.
frames = b""
for fid, text in ((b"TIT2", b"Extended"), (b"TPE1", b"Header")):
    body = b"\0" + text
    frames += fid + struct.pack(">I", len(body)) + b"\0\0" + body
ext = struct.pack(">IHI", 6, 0, 80)
with open("v23_extended_header.mp3", "wb") as f:
    body = ext + frames + b"\0" * 80
    f.write(b"ID3\x03\0\x40" + syncsafe(len(body)) + body + audio(1024, 5))
title = b"\0Sync \xff\x00\xe0 title"
frames = b"TIT2" + struct.pack(">I", len(title)) + b"\0\0" + title
with open("v23_unsynchronised.mp3", "wb") as f:
    body = frames + b"\0" * 40
    f.write(b"ID3\x03\0\x80" + syncsafe(len(body)) + body + audio(1024, 6))

with open("v11_only.mp3", "wb") as f:
    f.write(audio(1024, 8) + v1(b"V1 Title", b"V1 Artist", b"V1 Album", b"2001", b"Comment", 5, 146))
