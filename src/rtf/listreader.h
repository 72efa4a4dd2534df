#pragma once

#include "rtf/styles.h"

#include <unordered_map>
#include <utility>
#include <vector>

// Bullets and numbering of an RTF page: Word's list tables ({\*\listtable} with the
// {\listoverridetable} that \lsN refers to) and the older {\*\pn} groups of rich-edit controls.
// Paragraphs that belong to one list (one numbering) share a sequence number.
namespace quillo::rtf {

// Old-style bullets and numbering as read from one {\*\pn} group.
struct PnGroup {
    bool bullet = false; // \pnlvlblt
    bool body = false;   // \pnlvlbody or \pnlvlN
    bool cont = false;   // \pnlvlcont: no number of its own
    int level = 0;
    ListKind numbering = ListKind::None;
    int start = 0; // \pnstartN; 0: not given
};

class ListReader {
public:
    // {\list}: its \listid and its levels.
    void beginList();
    void setListId(int id) { listId_ = id; }
    void beginLevel() { level_ = Level{}; }
    void setLevelNfc(int nfc) { level_.nfc = nfc; }
    void setLevelStart(int start);
    void endLevel() { listLevels_.push_back(level_); }
    void endList();

    // {\listoverride}: the \lsN that names a \listid in the page.
    void beginOverride();
    void setOverrideListId(int id) { overrideListId_ = id; }
    void setOverrideLs(int ls) { overrideLs_ = ls; }
    void endOverride();

    // {\*\pn}: read into pn(), then applied to the paragraph it belongs to.
    void beginPn() { pn_ = PnGroup{}; }
    PnGroup& pn() { return pn_; }
    // The closed {\*\pn} group makes the paragraph a list item (or takes its list away); a
    // paragraph numbered this way leaves \ls behind, so ls becomes 0.
    void applyPn(ParaStyle& para, int& ls);

    // The paragraph as it shows: its \lsN and \ilvlN resolved through the list tables.
    ParaStyle resolve(const ParaStyle& para, int ls, int ilvl);
    // A paragraph ended with this style; fromPn: its list came from a {\*\pn} group.
    void paragraphEnded(const ParaStyle& style, bool fromPn);

private:
    struct Level {
        int nfc = 0;
        int start = 1;
    };
    int lsSequence(int ls, int level);

    std::unordered_map<int, std::vector<Level>> lists_; // \listid -> levels
    std::unordered_map<int, int> overrides_;            // \ls -> \listid
    std::unordered_map<long long, int> lsSequences_;    // \ls and level -> sequence
    int listId_ = 0;
    std::vector<Level> listLevels_;
    Level level_;
    int overrideListId_ = 0;
    int overrideLs_ = 0;

    PnGroup pn_;
    ParaStyle lastPara_;
    bool lastParaFromPn_ = false;
    std::unordered_map<int, int> itemCount_;                  // list items seen per sequence
    std::unordered_map<int, std::pair<int, int>> lastPnList_; // kind and level -> sequence, start
    int sequenceCounter_ = 0;
};

} // namespace quillo::rtf
