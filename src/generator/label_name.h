#pragma once
// NAME in labels, array names and remarks: an identifier that assemblers, C and BASIC all take.

#include <string>
#include <string_view>

// A name made an identifier: every character but the letters A to Z and a to z, the digits and
// "_" becomes "_" (a character of several bytes, one "_"), and a leading digit gets "_" in front.
// "walk-2" gives "walk_2", "2walk" gives "_2walk", an empty name "_".
std::string LabelName(std::string_view name);

// Whether a name is already an identifier: a letter or "_", then letters, digits and "_".
bool IsLabelName(std::string_view name);
