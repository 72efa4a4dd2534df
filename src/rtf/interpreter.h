#pragma once

#include "rtf/styles.h"

#include <QByteArrayView>
#include <QStringView>

// The middle layer of the RTF reader: runs the tokens through a formatting state stack and
// reports the page to a sink as styled text runs, pictures and paragraph ends.
namespace quillo::rtf {

struct Picture;

class Sink {
public:
    virtual ~Sink() = default;
    // Text of the current paragraph: never a paragraph separator; tabs are '\t', \line is
    // U+2028 and a non-breaking space is U+00A0.
    virtual void text(QStringView text, const TextStyle& style) = 0;
    virtual void picture(const Picture& picture, const TextStyle& style) = 0;
    // The current paragraph ends here and has this style; what follows is a new paragraph.
    virtual void paragraph(const ParaStyle& style) = 0;
    // The input ended. The last paragraph has no paragraph mark of its own: it exists when
    // text or a picture came after the last paragraph(), or when there was no paragraph() at all.
    virtual void finish(const ParaStyle& style) = 0;
    // Whether picture() needs the bytes of the picture (they are not decoded otherwise).
    virtual bool wantsPictureData() const { return true; }
};

// Reads the whole input into the sink. Malformed input ends the page where it stops making sense.
void interpret(QByteArrayView rtf, Sink& sink);

} // namespace quillo::rtf
