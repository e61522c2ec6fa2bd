#pragma once
#include "controls/VersionNumber.h"
#include <string>

// The update's news: a rich text document from the site, checked before any control sees
// it, with its version markers turned into headings.

// Plain formatted text the rich edit can show safely: groups nested no deeper than a
// few levels, and none of the control words that embed objects, fields, pictures or
// raw binary data (which a news document does not need).
bool IsPlainNews(const std::string& rtf);

// The document with one heading above the first section for a version newer than the
// program and one above the first section for a version the program already has: a
// paragraph that holds "@@Version" (any case) and a version gives way to the heading
// due, or to nothing once that heading has been placed. The headings are plain text in
// which CR LF ends a paragraph. One pass over the document, however many markers it has.
std::string PlaceNewsHeadings(const std::string& rtf, const std::string& newChangesHeading,
                              const std::string& oldChangesHeading, const VersionNumber& programVersion);
