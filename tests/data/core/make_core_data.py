#!/usr/bin/env python3
"""Writes the small help files the core tests read. Each file exercises one rule of the
format; the test that reads it says what it expects. Run from this folder."""

RTF = b"{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 MS UI Gothic;}}\r\n\\viewkind4\\uc1\\pard\\lang1041\\f0\\fs18 Page\\par\r\n}\r\n\x00"


def hexf(value, width, bits=16):
    return ("%X" % (value & ((1 << bits) - 1))).rjust(width, "0")[-width:].encode()


def text(s):
    b = s.encode("cp932")
    return hexf(len(s), 4) + b


def header(tag=b"qzd32mk Ver2.01 ", back=0x80000005, top=300, left=400, height=7000,
           width=9500, listw=2500, topmost=b"0", state=b"0", pages=1):
    return (tag + hexf(back, 8, 32) + hexf(top, 4) + hexf(left, 4) + hexf(height, 4) +
            hexf(width, 4) + hexf(listw, 4) + topmost + state + b"34" + b"1234" * 7 +
            hexf(pages, 4))


def record(title=None, keywords=()):
    out = b"12345678" * 2
    if title is None:
        out += b"00"
    else:
        out += b"01" + text(title)
    out += hexf(len(keywords), 2)
    for k in keywords:
        out += text(k)
    return out


def body(rtf=RTF):
    return hexf(len(rtf), 8, 32) + rtf


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


# One page, no title, no keywords: 100 header bytes, then one body.
write("minimal.qzd", header() + record() + body())
# Another version after "qzd32mk" opens; anything else is refused.
write("othertag.qzd", header(tag=b"qzd32mk Ver9.99 ") + record() + body())
write("wrongtag.qzd", header(tag=b"QZD32MK Ver2.01 ") + record() + body())
# Display settings at their edges: keep-in-front "3" reads 0, state "1" reads 0, a system
# colour, values below the write minimums (kept when read).
write("settings_edge.qzd", header(back=0x8000000F, top=0, left=-1, height=500, width=999,
                                  listw=250, topmost=b"3", state=b"1") + record() + body())
# Maximised and keep-in-front together.
write("maximised_topmost.qzd", header(topmost=b"1", state=b"2") + record() + body())
# Blank 1-character fields read as 0.
write("blank_flags.qzd", header(topmost=b" ", state=b" ") + record() + body())
# Japanese title of four double-byte characters and keywords on three pages.
write("japanese.qzd", header(pages=3) +
      record("操作方法", ["検索", "印刷"]) + record() + record("ｷｰﾜｰﾄﾞ一覧", ["検索"]) +
      body() + body(b"{\\rtf1 two}") + body(b"{\\rtf1 three}"))
# Failures: 101 pages, 65 keywords, a bad hex digit, a page longer than the file.
write("too_many_pages.qzd", header(pages=101) + record() + body())
write("too_many_keywords.qzd", header(pages=2) + record("first") + record("x", ["k"] * 65) +
      body() + body())
write("bad_hex.qzd", header(pages=2) + record("first") + b"12345678" * 2 + b"0G" + body())
write("short_body.qzd", header(pages=2) + record("one") + record("two") + body() +
      b"00001000{\\rtf1 short}")
