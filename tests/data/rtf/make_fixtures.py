# Generates the hand-made RTF fixtures (exact byte styles of the writing programs).
import struct, zlib, os
out = os.path.dirname(os.path.abspath(__file__)) + "/"
def sj(s):  # text as rich-edit controls write it: every byte of a double-byte character as \'hh
    r = ""
    for ch in s:
        b = ch.encode("cp932")
        r += "".join("\\'%02x" % x for x in b) if len(b) == 2 or b[0] >= 0x80 or ch in "\\{}" else ch
    return r
def uc1(s):  # \uN? as Word and LibreOffice write
    r = ""
    for ch in s:
        c = ord(ch)
        if c < 0x80: r += ch
        else: r += "\\u%d?" % (c if c < 32768 else c - 65536)
    return r
def png(w, h, rgb):
    raw = b"".join(b"\x00" + bytes(rgb) * w for _ in range(h))
    def chunk(t, d): return struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d) & 0xffffffff)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)) + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")
def dib(w, h, rgb):
    row = bytes(rgb[::-1]) * w
    row += b"\x00" * ((4 - len(row) % 4) % 4)
    bits = row * h
    return struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(bits), 2835, 2835, 0, 0) + bits
def wmf_stretchdib(w, h, rgb):
    d = dib(w, h, rgb)
    rec = struct.pack("<IHH", 0x00CC0020 & 0xffff, 0, 0)  # placeholder, rebuilt below
    params = struct.pack("<IH", 0x00CC0020, 0) + struct.pack("<8h", h, w, 0, 0, h, w, 0, 0)
    body = struct.pack("<H", 0x0F43) + params + d
    size_words = (4 + len(body)) // 2
    if (4 + len(body)) % 2: body += b"\x00"; size_words += 1
    record = struct.pack("<I", size_words) + body
    window = struct.pack("<IHhh", 5, 0x020C, h, w)
    window_org = struct.pack("<IHhh", 5, 0x020B, 0, 0)
    eof = struct.pack("<IH", 3, 0)
    recs = window_org + window + record + eof
    header = struct.pack("<HHHIHIH", 1, 9, 0x0300, (18 + len(recs)) // 2, 0, size_words, 0)
    return header + recs
def hexlines(data, width=128):
    h = data.hex()
    return "\r\n".join(h[i:i + width] for i in range(0, len(h), width))
def write(name, text, expected):
    with open(out + name, "wb") as f: f.write(text.encode("ascii"))
    with open(out + name[:-4] + ".txt", "wb") as f: f.write(expected.encode("utf-8"))

# RichEdit 2.0 (rich-edit controls of Windows 98/2000, as the authoring program's editor saves):
# Japanese as \'hh pairs, \pn bullets, \li indents, \cf colours.
gothic = "ＭＳ Ｐゴシック"
t = ("{\\rtf1\\ansi\\ansicpg932\\deff0\\deflang1033\\deflangfe1041{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset128 MS UI Gothic;}"
     "{\\f1\\fnil\\fprq2\\fcharset128 " + sj(gothic) + ";}{\\f2\\fnil\\fprq2\\fcharset2 Symbol;}}\r\n"
     "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
     "\\viewkind4\\uc1\\pard\\lang1041\\f0\\fs18 " + sj("これはヘルプです。") + "\\par\r\n"
     "\\cf1\\b " + sj("重要") + "\\cf0\\b0 : \\f1 " + sj("表示と予定") + "\\f0\\par\r\n"
     "\\pard{\\pntext\\f2\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb\\'b7}}\\fi-200\\li200 " + sj("項目１") + "\\par\r\n"
     "{\\pntext\\f2\\'b7\\tab}" + sj("項目２") + "\\par\r\n"
     "\\pard\\li720\\cf2 indented " + sj("ソフト") + "\\cf0\\par\r\n"
     "\\pard\\qc\\fs28 centre\\par\r\n}\r\n")
write("richedit20_japanese.rtf", t, "これはヘルプです。\n重要: 表示と予定\n項目１\n項目２\nindented ソフト\ncentre")

# RichEdit 1.0: an inserted picture saved as a \wmetafile8 metafile carrying a StretchDIBits bitmap.
w = wmf_stretchdib(4, 3, (0, 128, 255))
t = ("{\\rtf1\\ansi\\ansicpg932\\deff0\\deftab720{\\fonttbl{\\f0\\fnil\\fcharset128 " + sj("ＭＳ ゴシック") + ";}}\r\n"
     "{\\colortbl\\red0\\green0\\blue0;}\r\n"
     "\\deflang1033\\pard\\plain\\f0\\fs20 " + sj("図：") + "{\\pict\\wmetafile8\\picw106\\pich79\\picwgoal60\\pichgoal45 \r\n" + hexlines(w) + "\r\n}\\plain\\f0\\fs20 \\par\r\n"
     "\\plain\\f0\\fs20 " + sj("終わり") + "\\par\r\n}\r\n")
write("richedit10_wmf.rtf", t, "図：\ufffc\n終わり")

# WordPad (Msftedit): a PNG picture, \sa spacing, two fonts, an OLE object with its result picture.
p = png(5, 4, (255, 0, 0))
t = ("{\\rtf1\\ansi\\ansicpg932\\deff0\\nouicompat\\deflang1033\\deflangfe1041{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}{\\f1\\fnil\\fcharset128 " + sj("ＭＳ 明朝") + ";}}\r\n"
     "{\\colortbl ;\\red0\\green176\\blue80;}\r\n"
     "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
     "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang17 Hello \\f1\\fs21\\lang1041 " + sj("日本語") + "\\f0\\fs22\\lang17\\par\r\n"
     "{\\pict{\\*\\picprop}\\wmetafile8\\picw0\\pich0\\picwgoal0\\pichgoal0 \r\n}"
     "\\ul\\i underlined italic\\ulnone\\i0  and \\strike struck\\strike0\\par\r\n"
     "\\pard\\sa200\\sl276\\slmult1\\qr{\\pict{\\*\\picprop}\\pngblip\\picw5\\pich4\\picwgoal75\\pichgoal60 \r\n" + hexlines(p) + "\r\n}\\par\r\n"
     "{\\object\\objemb{\\*\\objclass Paint.Picture}\\objw600\\objh450{\\*\\objdata 01050000020000000e000000}{\\result{\\pict\\pngblip\\picw5\\pich4\\picwgoal600\\pichgoal450 " + p.hex() + "}}}\\highlight1 marked\\highlight0\\par\r\n"
     "}\r\n\x00")
write("wordpad.rtf", t, "Hello 日本語\n\ufffcunderlined italic and struck\n\ufffc\n\ufffcmarked")

# Word 2003: stylesheet, \listtable bullets and numbering with {\listtext}, \uN with \uc1, a
# hyperlink field, a table, \shppict/\nonshppict, hidden text.
lt = ("{\\*\\listtable{\\list\\listtemplateid-1\\listhybrid{\\listlevel\\levelnfc23\\levelnfcn23\\leveljc0\\leveljcn0\\levelfollow0\\levelstartat1\\levelspace0\\levelindent0{\\leveltext\\leveltemplateid67698689\\'01\\u-3913 ?;}{\\levelnumbers;}\\f3\\fbias0 \\fi-420\\li420\\jclisttab\\tx420\\lin420 }{\\listname ;}\\listid11}"
      "{\\list\\listtemplateid-2\\listhybrid{\\listlevel\\levelnfc0\\levelnfcn0\\leveljc0\\leveljcn0\\levelfollow0\\levelstartat1\\levelspace0\\levelindent0{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}\\fi-420\\li420\\lin420 }{\\listname ;}\\listid22}}"
      "{\\*\\listoverridetable{\\listoverride\\listid11\\listoverridecount0\\ls1}{\\listoverride\\listid22\\listoverridecount0\\ls2}{\\listoverride\\listid22\\listoverridecount1{\\lfolevel\\listoverridestartat\\levelstartat1}\\ls3}}")
t = ("{\\rtf1\\adeflang1025\\ansi\\ansicpg932\\uc2\\adeff0\\deff0\\stshfdbch11\\stshfloch0\\stshfhich0\\stshfbi0\\deflang1033\\deflangfe1041"
     "{\\fonttbl{\\f0\\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}Times New Roman;}{\\f3\\froman\\fcharset2\\fprq2{\\*\\panose 05050102010706020507}Symbol;}"
     "{\\f11\\fmodern\\fcharset128\\fprq1{\\*\\panose 02020609040205080304}" + sj("ＭＳ 明朝") + "{\\*\\falt MS Mincho};}}"
     "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}"
     "{\\stylesheet{\\qj \\li0\\ri0\\nowidctlpar\\wrapdefault\\fs21\\lang1033\\langfe1041\\kerning2\\loch\\f0\\hich\\af0\\dbch\\af11\\cgrid\\langnp1033\\langfenp1041 \\snext0 Normal;}{\\*\\cs10 \\additive Default Paragraph Font;}}"
     + lt +
     "{\\*\\rsidtbl \\rsid1\\rsid2}{\\info{\\title Help}{\\author someone}{\\operator someone}{\\creatim\\yr2004\\mo1\\dy1\\hr1\\min1}}"
     "\\paperw11906\\paperh16838\\margl1701\\margr1701 \\sectd \\linex0\\headery851\\footery992\\colsx425\\endnhere\\sectlinegrid360\\sectspecifyl\\sftnbj "
     "{\\*\\pnseclvl1\\pnucrm\\pnstart1\\pnindent720\\pnhang {\\pntxta .}}"
     "\\pard\\plain \\qj \\li0\\ri0\\nowidctlpar\\wrapdefault\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0 \\fs21\\lang1033\\langfe1041\\kerning2\\loch\\af0\\hich\\af0\\dbch\\af11\\cgrid\\langnp1033\\langfenp1041 "
     "{\\hich\\af0\\dbch\\af11\\loch\\f0 Word }{\\dbch\\af11\\loch\\f11\\uc1 " + uc1("日本語のヘルプ") + "}{\\v hidden}\\par "
     "{\\listtext\\pard\\plain\\f3\\fs21\\lang1033\\langfe1041 \\loch\\af3\\hich\\af3\\dbch\\af11 \\'b7\\tab}\\pard \\qj \\fi-420\\li420\\ri0\\nowidctlpar\\jclisttab\\tx420\\wrapdefault\\ls1\\rin0\\lin420 {\\loch\\f0 first}\\par "
     "{\\listtext\\pard\\plain\\f3\\fs21 \\'b7\\tab}second\\par "
     "{\\listtext\\pard\\plain\\fs21 1.\\tab}\\pard \\fi-420\\li420\\ls2\\lin420 one\\par "
     "{\\listtext\\pard\\plain\\fs21 2.\\tab}two\\par "
     "\\pard\\li0 between\\par "
     "{\\listtext\\pard\\plain\\fs21 3.\\tab}\\pard \\fi-420\\li420\\ls2\\lin420 three\\par "
     "{\\listtext\\pard\\plain\\fs21 1.\\tab}\\pard \\fi-420\\li420\\ls3\\lin420 again\\par "
     "\\pard see {\\field{\\*\\fldinst {HYPERLINK \"http://example.com/a\"}}{\\fldrslt {\\ul\\cf2 the site}}}.\\par "
     "\\trowd \\trgaph108\\cellx2000\\cellx4000\\pard\\plain \\intbl a1\\cell b1\\cell \\row "
     "\\trowd \\trgaph108\\cellx2000\\cellx4000\\pard\\plain \\intbl a2\\cell \\cell \\row "
     "\\pard {\\*\\shppict{\\pict\\pngblip\\picw5\\pich4\\picwgoal300\\pichgoal240 " + p.hex() + "}}{\\nonshppict{\\pict\\wmetafile8\\picw5\\pich4 0100090000}}"
     "\\emdash end\\par }")
write("word2003.rtf", t, "Word 日本語のヘルプ\nfirst\nsecond\none\ntwo\nbetween\nthree\nagain\nsee the site.\na1\nb1\na2\n\n\ufffc\u2014end")

# LibreOffice Writer: \uN\'3f text, bullets and numbering through \ls with {\listtext}, a
# numbering restart through a new override, \*\pgdsctbl, \*\generator.
lo_lt = ("{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc23\\leveljc0\\levelstartat1\\levelfollow0{\\leveltext \\'01\\u8226 ?;}{\\levelnumbers;}\\f4\\fi-360\\li720}\\listid1}"
         "{\\list\\listtemplateid2{\\listlevel\\levelnfc4\\leveljc0\\levelstartat1\\levelfollow0{\\leveltext \\'02\\'00.;}{\\levelnumbers\\'01;}\\fi-360\\li720}\\listid2}}"
         "{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}{\\listoverride\\listid2\\listoverridecount0\\ls2}{\\listoverride\\listid2\\listoverridecount0\\ls3}}")
t = ("{\\rtf1\\ansi\\deff4\\adeflang1025\r\n"
     "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f1\\froman\\fprq2\\fcharset2 Symbol;}{\\f4\\fswiss\\fprq2\\fcharset0 Liberation Sans;}{\\f5\\fnil\\fprq2\\fcharset0 IPAPGothic;}}\r\n"
     "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red255\\green255\\blue0;}\r\n"
     "{\\stylesheet{\\s0\\snext0\\dbch\\af5\\langfe1041\\dbch\\af5\\afs24\\alang1081\\loch\\f4\\fs24\\lang1033 Default Paragraph Style;}}" + lo_lt + "\r\n"
     "{\\*\\generator LibreOffice/7.4.7.2$Linux_X86_64 LibreOffice_project/40$Build-2}{\\info{\\creatim\\yr2024\\mo1\\dy1\\hr0\\min0}}{\\*\\userprops{\\propname x}\\proptype30{\\staticval y}}\\deftab709\r\n"
     "\\hyphauto1\\viewscale100\r\n{\\*\\pgdsctbl\r\n{\\pgdsc0\\pgdscuse451\\pgwsxn11906\\pghsxn16838\\marglsxn1134\\margrsxn1134\\margtsxn1134\\margbsxn1134\\pgdscnxt0 Default Page Style;}}\r\n"
     "\\formshade{\\*\\pgdscno0}\\paperh16838\\paperw11906\\margl1134\\margr1134\\margt1134\\margb1134\\sectd\\sbknone\\sftnnar\\saftnnrlc\\sectunlocked1\\pgwsxn11906\\pghsxn16838\\marglsxn1134\\margrsxn1134\\margtsxn1134\\margbsxn1134\\ftnbj\\ftnstart1\\ftnrstcont\\ftnnar\\aenddoc\\aftnrstcont\\aftnstart1\\aftnnrlc\r\n"
     "{\\*\\ftnsep\\chftnsep}\\pgndec\\pard\\plain \\s0\\widctlpar\\hyphpar0\\ltrpar\\cf0\\kerning1\\dbch\\af5\\langfe1041\\dbch\\af5\\afs24\\alang1081\\loch\\f4\\fs24\\lang1033\\ql\\ltrpar{\\rtlch \\ltrch\\loch\r\nPlain }{\\rtlch \\ltrch\\loch\\f5\\loch\r\n" + uc1("日本語テキスト") + "}{\\cf2\\rtlch \\ltrch\\loch\\b\\loch\r\n red}{\\highlight3\\rtlch \\ltrch\\loch\r\n yellow}\r\n\\par \\pard\\plain \\s0\\ls1\\widctlpar\\hyphpar0\\ltrpar\\cf0\\li720\\ri0\\lin720\\rin0\\fi-360\\ql\\ltrpar{\\listtext\\pard\\plain \\u8226\\'3f\\tab}{\\rtlch \\ltrch\\loch\r\nBullet one}\r\n"
     "\\par \\pard\\plain \\s0\\ls1\\li720\\ri0\\lin720\\rin0\\fi-360\\ql{\\listtext\\pard\\plain \\u8226\\'3f\\tab}Bullet two\r\n"
     "\\par \\pard\\plain \\s0\\ls2\\li720\\ri0\\lin720\\rin0\\fi-360\\ql{\\listtext\\pard\\plain a.\\tab}Alpha one\r\n"
     "\\par \\pard\\plain \\s0\\ls2\\li720\\ri0\\lin720\\rin0\\fi-360\\ql{\\listtext\\pard\\plain b.\\tab}Alpha two\r\n"
     "\\par \\pard\\plain \\s0\\ls3\\li720\\ri0\\lin720\\rin0\\fi-360\\ql{\\listtext\\pard\\plain a.\\tab}Restarted\r\n"
     "\\par \\pard\\plain \\s0\\qc\\sb240\\sa120{\\rtlch \\ltrch\\loch\\i\\fs32 Centred}\r\n\\par }")
write("libreoffice.rtf", t, "Plain 日本語テキスト red yellow\nBullet one\nBullet two\nAlpha one\nAlpha two\nRestarted\nCentred")
print("ok")
