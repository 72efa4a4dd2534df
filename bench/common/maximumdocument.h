#pragma once

#include "core/helpdocument.h"

#include <memory>

namespace quillo::bench {

// The largest document the format allows: 100 pages, each with a 32-character title, 64
// keywords of 32 characters and 60 KB of RTF in the form a rich-edit control writes.
std::unique_ptr<HelpDocument> maximumDocument();

} // namespace quillo::bench
