#pragma once

#include "base/Text.h"

#include <windows.h>

// Expands the date-and-time picture of a file name in place. The picture is
// everything between the first and the last "%" of text; both of those signs
// disappear and any "%" between them stays as a literal. In the picture, "L"
// becomes the milliseconds of t (no leading zeros); the result is formatted
// as a time picture, and that result again as a date picture, both for the
// user's locale. A text without "%" is left unchanged and a single "%" is
// dropped. A picture of more than 259 characters, written or formatted, is
// left as written (the "%" signs included).
void ExpandTimestamp(String& text, const SYSTEMTIME& t);
