#pragma once

#include "rtf/codepage.h"
#include "rtf/colortable.h"
#include "rtf/controlwords.h"
#include "rtf/fonttable.h"
#include "rtf/interpreter.h"
#include "rtf/listreader.h"
#include "rtf/picturereader.h"
#include "rtf/tokenizer.h"

#include <optional>
#include <vector>

// The RTF interpreter's inside: the group state stack, the decoding of text into the current
// destination, and the dispatch of control words by kind (dispatch.cpp). The font, colour and
// list tables and the pictures and objects are read by classes of their own.
namespace quillo::rtf {

// Where the text of the current group goes.
enum class Dest : unsigned char {
    Body, // page text
    Skip, // a destination whose text is not part of the page
    FontTable,
    ColorTable,
    Pict,
    PnText, // {\pntext} / {\listtext}: the list marker as text, used when the list is not
            // understood
    Pn,     // {\*\pn}: old-style bullets and numbering
    ListTable,
    List,
    ListLevel,
    ListOverrideTable,
    ListOverride,
    FieldInst,
    Upr,    // {\upr}: the ANSI copy of the {\*\ud} text beside it
    Object, // {\object}: only its {\result} shows
};

// The double-byte slot of the character formatting: LibreOffice and Word name it with \dbch and
// give its font, boldness, slant and size as \af \ab \ai \afs, which then hold for the text
// that follows (LibreOffice writes the bold of Japanese text only as \ab).
struct DbchStyle {
    bool active = false; // \dbch named last (not \loch or \hich), left to right
    bool rtl = false;    // \rtlch: the associated properties are the right-to-left ones
    int font = -1;
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<int> halfPoints;
};

// The state of one group; a group starts with a copy of the state around it.
struct GroupState {
    Dest dest = Dest::Body;
    bool ownsDest = false; // this group opened its destination
    bool hidden = false;
    bool inObject = false;
    Dest uprOuter = Dest::Body;
    int uc = 1;
    int font = -1; // -1: the default font
    const CodePage* cp = nullptr;
    int ls = 0;
    int ilvl = 0;
    TextStyle text;
    DbchStyle dbch;
    ParaStyle para;
};

class Interpreter {
public:
    Interpreter(QByteArrayView rtf, Sink& sink);
    void run();

private:
    GroupState& st() { return stack_.back(); }
    const GroupState& st() const { return stack_.back(); }

    // tokens
    void openGroup(qsizetype offset);
    void closeGroup(qsizetype offset);
    void word(const Token& t);
    void symbol(char c, bool atGroupStart);
    void textRun(QByteArrayView run);
    void hexByte(unsigned char b);
    void hexRunInBody(unsigned char first, const CodePage* cp);
    void binary(QByteArrayView data);

    // control words by kind (dispatch.cpp)
    void dispatchDestination(Word word, qsizetype offset);
    void dispatchFlag(Word word);
    void dispatchToggle(Word word, bool on);
    void dispatchValue(Word word, int param, bool hasParam);
    void dispatchSymbol(const ControlWord& word);

    // text into the current destination
    void byteChar(unsigned char b);
    void continueUtf8(unsigned char b);
    void put(char16_t c);
    void emitBody(char16_t c);
    void flushLead();
    void prepareBody();
    void flushText();
    void endParagraph();
    ParaStyle resolvedPara();
    void setDest(Dest d);
    bool opensGroup(qsizetype offset) const;
    void charStyleChanged() { styleDirty_ = true; }
    void showPicture(const Picture& picture);
    void startParagraphContent();
    void endCell();
    void endRow();

    // fonts and code pages
    void applyDefaultFont();
    void setFontOfState(GroupState& s, int font);
    const CodePage* currentCodePage() const;
    // The code page of the text that follows: the group's font's, or the double-byte slot's
    // where that is current (answered inline, as every escaped byte asks).
    const CodePage* textCodePage() const {
        const GroupState& s = st();
        return s.dbch.active ? dbchCodePage(s) : s.cp;
    }
    const CodePage* dbchCodePage(const GroupState& s) const;
    TextStyle shownStyle() const;

    Tokenizer tokens_;
    Sink& sink_;
    std::vector<GroupState> stack_;
    int overflow_ = 0; // groups opened past the deepest kept one
    // \* came last: right after "{" the next control word starts an ignorable destination;
    // elsewhere only that control word is passed over.
    enum class Star : unsigned char { None, Destination, Word };
    Star star_ = Star::None;
    bool afterGroupOpen_ = false; // the token before was "{"
    qsizetype lastGroupOpen_ = 0;

    int ansiCp_ = 1252;
    int deff_ = 0;
    FontTable fonts_;
    ColorTable colors_;
    ListReader lists_;
    PictureReader picture_;
    ObjectReader object_;

    QString pending_; // text of the current run not yet given to the sink
    TextStyle pendingStyle_;
    bool styleDirty_ = true;
    int lead_ = -1; // a lead byte waiting for its trail byte (or the rest of a UTF-8 character)
    const CodePage* leadCp_ = nullptr;
    Utf8Decoder utf8_;
    int skip_ = 0; // fallback characters of \uN still to skip

    bool paragraphStarted_ = false;
    int pendingCells_ = 0; // \cell outside a table paragraph: tabs before the next text
    TableRow row_;         // the last \trowd and its cells
    int cellsInRow_ = 0;
    QString pntext_;

    QString fldinst_;
    QString fieldHref_;
};

} // namespace quillo::rtf
