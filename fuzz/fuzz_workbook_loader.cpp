// Workbook files (.cll). The input is the content of a file: the harness wraps
// it in a valid envelope (header, padding, checksum), so that the mutations
// reach the sections behind the checksum. An input that already starts with a
// file's magic (a seed copied from a real file) is unwrapped first. A workbook
// that loads must save and load again to the same bytes.

#include "sheet_component/engine/CllChecksum.h"
#include "sheet_component/engine/CllFile.h"
#include "sheet_component/engine/Workbook.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr char kMagic[8] = {'\x89', 'V', 'C', 'L', 'L', '\r', '\n', '\x1a'};

void appendU64(std::string &out, std::uint64_t value)
{
    for (int i = 0; i < 8; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string wrap(std::string_view content)
{
    std::string file(kMagic, sizeof kMagic);
    appendU64(file, 1); // version 1, flags 0 (two little-endian 32-bit words)
    const std::size_t length = std::max(vantor::CllFile::HeaderSize + content.size() + vantor::CllFile::TrailerSize,
                                        vantor::CllFile::MinFileSize);
    appendU64(file, content.size());
    appendU64(file, length);
    file.append(content);
    file.append(length - vantor::CllFile::TrailerSize - file.size(), '\0');
    appendU64(file, vantor::CllChecksum::compute(file));
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char *>(data), size);
    if (input.size() >= vantor::CllFile::HeaderSize && std::memcmp(input.data(), kMagic, sizeof kMagic) == 0) {
        std::uint64_t length = 0;
        std::memcpy(&length, input.data() + 16, sizeof length);
        input = input.substr(vantor::CllFile::HeaderSize,
                             std::min<std::uint64_t>(length, input.size() - vantor::CllFile::HeaderSize));
    }
    std::unique_ptr<vantor::Workbook> workbook;
    try {
        workbook = vantor::CllFile::fromBytes(wrap(input));
    } catch (const vantor::CllFileError &) {
        return 0;
    }
    const std::string saved = vantor::CllFile::toBytes(*workbook);
    const std::string again = vantor::CllFile::toBytes(*vantor::CllFile::fromBytes(saved));
    if (again != saved)
        std::abort(); // a loaded workbook does not survive its own save
    return 0;
}
