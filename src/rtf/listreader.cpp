#include "rtf/listreader.h"

#include <algorithm>

namespace quillo::rtf {
namespace {

// The list kind of a \levelnfcN number format.
ListKind kindOfNfc(int nfc) {
    switch (nfc) {
    case 23:
        return ListKind::Bullet;
    case 255:
        return ListKind::None;
    case 1:
        return ListKind::UpperRoman;
    case 2:
        return ListKind::LowerRoman;
    case 3:
        return ListKind::UpperAlpha;
    case 4:
        return ListKind::LowerAlpha;
    default:
        return ListKind::Decimal;
    }
}

} // namespace

void ListReader::beginList() {
    listId_ = 0;
    listLevels_.clear();
}

void ListReader::setLevelStart(int start) {
    level_.start = std::clamp(start, 0, 32767);
}

void ListReader::endList() {
    if (listId_ != 0)
        lists_[listId_] = listLevels_;
}

void ListReader::beginOverride() {
    overrideListId_ = 0;
    overrideLs_ = 0;
}

void ListReader::endOverride() {
    if (overrideLs_ != 0)
        overrides_[overrideLs_] = overrideListId_;
}

ParaStyle ListReader::resolve(const ParaStyle& para, int ls, int ilvl) {
    ParaStyle p = para;
    if (ls > 0) {
        p.list = ListKind::None;
        const auto o = overrides_.find(ls);
        if (o != overrides_.end()) {
            const auto l = lists_.find(o->second);
            if (l != lists_.end() && !l->second.empty()) {
                const Level& level =
                    l->second[size_t(std::min<int>(ilvl, int(l->second.size()) - 1))];
                p.list = kindOfNfc(level.nfc);
                p.listLevel = ilvl;
                p.listStart = level.start;
                p.listSequence = lsSequence(ls, ilvl);
            }
        }
    }
    if (!p.isListItem()) {
        p.listLevel = 0;
        p.listSequence = 0;
        p.listStart = 1;
    }
    return p;
}

int ListReader::lsSequence(int ls, int level) {
    const long long key = (static_cast<long long>(ls) << 8) | level;
    auto [it, added] = lsSequences_.try_emplace(key, 0);
    if (added)
        it->second = ++sequenceCounter_;
    return it->second;
}

void ListReader::paragraphEnded(const ParaStyle& style, bool fromPn) {
    if (style.isListItem())
        ++itemCount_[style.listSequence];
    lastPara_ = style;
    lastParaFromPn_ = fromPn;
}

// The paragraph continues the list of the paragraph before when that one is an item of the same
// kind and level (and the start number, if given, follows on), and starts a new list otherwise.
void ListReader::applyPn(ParaStyle& p, int& ls) {
    ListKind kind = ListKind::None;
    if (pn_.bullet)
        kind = ListKind::Bullet;
    else if (pn_.body && !pn_.cont)
        kind = pn_.numbering == ListKind::None ? ListKind::Decimal : pn_.numbering;
    if (kind == ListKind::None) {
        p.list = ListKind::None;
        return;
    }
    const int level = pn_.level;
    // The last list of this kind and level: a start number that follows on from it continues
    // it even after other paragraphs (a numbered list interrupted by a note).
    auto& previous = lastPnList_[(int(kind) << 8) | level];
    bool continues = lastParaFromPn_ && lastPara_.list == kind && lastPara_.listLevel == level;
    if (continues && pn_.start > 0)
        continues = pn_.start == lastPara_.listStart + itemCount_[lastPara_.listSequence];
    const bool resumes = !continues && pn_.start > 1 && previous.first != 0 &&
                         pn_.start == previous.second + itemCount_[previous.first];
    p.list = kind;
    p.listLevel = level;
    if (continues) {
        p.listSequence = lastPara_.listSequence;
        p.listStart = lastPara_.listStart;
    } else if (resumes) {
        p.listSequence = previous.first;
        p.listStart = previous.second;
    } else {
        p.listSequence = ++sequenceCounter_;
        p.listStart = pn_.start > 0 ? pn_.start : 1;
    }
    previous = {p.listSequence, p.listStart};
    ls = 0;
}

} // namespace quillo::rtf
