#pragma once

#include <functional>
#include <string>

#include "pages/PageReader.h"
#include "platform/Printing.h"

namespace page_reader {

// Judges a page as a print lays it out: the box's settings at the printer's page width and
// resolution, within the print's margins, without a scroll bar. `page` gives the page
// (Windows-1252) when a print asks.
[[nodiscard]] platform::PrintJudge PrintJudgeOf(std::function<std::string()> page, PageBox box);

}  // namespace page_reader
