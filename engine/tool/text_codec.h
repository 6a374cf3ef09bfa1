// Text helpers of the table tool: code pages to UTF-8, JSON and CSV
// quoting, base64, and the test for memos that are not plain text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace altavodb {

// Decodes bytes in the table's code page (the header's code-page byte) to
// UTF-8. DOS code page 437 for 0x01; Windows-1252 for everything else.
std::string toUtf8(const std::string& bytes, int codePage);
const char* codePageName(int codePage);
// True when the memo holds only printable text, tab, CR and LF.
bool isPlainText(const std::vector<uint8_t>& bytes, int codePage);
std::string base64(const std::vector<uint8_t>& bytes);
std::string jsonString(const std::string& utf8);
std::string csvField(const std::string& utf8);

} // namespace altavodb
