#pragma once

#include "base/Text.h"

#include <windows.h>

// Expands the date-and-time picture of a file name in place. The picture is
// everything between the first and the last "%" of text; both of those signs
// disappear and any "%" between them stays as a literal. The picture is
// formatted once for the user's locale: time letters (h H m s t) as a time
// picture, date letters (d M y g) as a date picture, "L" as the milliseconds
// of t (no leading zeros); text in single quotes stays as written, without
// the quotes. A text without "%" is left unchanged and a single "%" is
// dropped. A picture of more than 259 characters, written or formatted, is
// left as written (the "%" signs included).
void ExpandTimestamp(String& text, const SYSTEMTIME& t);
