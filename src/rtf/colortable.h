#pragma once

#include <QColor>

#include <optional>
#include <vector>

// The {\colortbl} of an RTF page: entries end with ';', an entry without \red \green \blue is
// the automatic colour.
namespace quillo::rtf {

class ColorTable {
public:
    // A new table replaces the one read before.
    void beginTable();
    void setRed(int value);
    void setGreen(int value);
    void setBlue(int value);
    // ';': the entry read so far is complete.
    void endEntry();

    // The colour of \cfN, \cbN or \highlightN; nothing for the automatic colour, for 0 and for
    // numbers past the table.
    std::optional<QRgb> color(int index) const;

private:
    void resetEntry();

    std::vector<std::optional<QRgb>> colors_;
    int red_ = 0;
    int green_ = 0;
    int blue_ = 0;
    bool given_ = false; // the entry has a component
};

} // namespace quillo::rtf
