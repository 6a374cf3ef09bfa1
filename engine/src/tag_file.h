// Where tag definitions live. Ours: a small text file beside the table with
// the extension .atx, which no xBase program claims, so others read our
// tables as plain tables. Foreign: the tag directory of a FoxPro .cdx or a
// dBASE IV .mdx production index, read when ours is absent.
#pragma once

#include "tag_index.h"

#include <string>
#include <vector>

namespace c4 {

// Parses our tag file's text; "" when sound.
std::string parseTagFile(const std::string& text, std::vector<TagDef>& out);
std::string formatTagFile(const std::vector<TagDef>& tags);

// Reads tag definitions from a compound index image; "" when sound.
std::string readCdxTags(const std::vector<uint8_t>& image, std::vector<TagDef>& out);
std::string readMdxTags(const std::vector<uint8_t>& image, std::vector<TagDef>& out);

// Checks a tag name: 1 to 10 letters, digits or underscores.
bool validTagName(const std::string& name);

} // namespace c4
