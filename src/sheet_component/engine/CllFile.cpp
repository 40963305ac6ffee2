#include "sheet_component/engine/CllFile.h"

#include "common/AtomicFile.h"
#include "sheet_component/engine/CllBinaryReader.h"
#include "sheet_component/engine/CllChecksum.h"
#include "sheet_component/engine/CllFormat.h"
#include "sheet_component/engine/CllLoader.h"
#include "sheet_component/engine/CllSaver.h"
#include "sheet_component/engine/Workbook.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace vantor {

using namespace cll;

namespace {

std::string messageFor(CllFileError::Kind kind, const std::string &detail, const std::string &path)
{
    const std::string name = path.empty() ? std::string() : "“" + path + "”";
    switch (kind) {
    case CllFileError::Kind::Io:
        return "无法打开工作簿文件" + name + "：" + detail;
    case CllFileError::Kind::TooShort:
        return "工作簿文件" + name + "格式错误：文件长度不足 1024 字节。";
    case CllFileError::Kind::NotWorkbook:
        return "文件" + name + "不是工作簿文件，格式错误。";
    case CllFileError::Kind::NewerVersion:
        return "工作簿文件" + name + "由较新版本的程序保存（" + detail + "），本程序无法打开。";
    case CllFileError::Kind::Damaged:
        return "工作簿文件" + name + "已损坏，无法打开（" + detail + "）。";
    case CllFileError::Kind::SaveFailed:
        return detail;
    }
    return detail;
}

// Checks the envelope (size, magic, version, lengths, padding, checksum) and returns the content.
std::string_view checkEnvelope(std::string_view bytes)
{
    if (bytes.size() < CllFile::MinFileSize)
        throw CllFileError(CllFileError::Kind::TooShort, "文件长度不足");
    if (std::memcmp(bytes.data(), Magic, sizeof Magic) != 0)
        throw CllFileError(CllFileError::Kind::NotWorkbook, "文件标识不符");

    // The envelope is the same in every version, so damage is told apart from a newer
    // version before the version is believed.
    CllBinaryReader header(bytes.substr(0, CllFile::HeaderSize));
    header.bytes(sizeof Magic);
    const std::uint32_t version = header.u32();
    const std::uint32_t flags = header.u32();
    const std::uint64_t contentLength = header.u64();
    const std::uint64_t fileLength = header.u64();

    if (fileLength != bytes.size())
        CllBinaryReader::damaged(fileLength > bytes.size() ? "文件不完整" : "文件长度与记录不符");
    const std::size_t overhead = CllFile::HeaderSize + CllFile::TrailerSize;
    if (contentLength > bytes.size() - overhead)
        CllBinaryReader::damaged("内容长度超出文件");

    const std::size_t checked = bytes.size() - CllFile::TrailerSize;
    CllBinaryReader trailer(bytes.substr(checked));
    if (trailer.u64() != CllChecksum::compute(bytes.data(), checked))
        CllBinaryReader::damaged("校验和不符");

    if (version > CllFile::FormatVersion)
        throw CllFileError(CllFileError::Kind::NewerVersion, "格式版本 " + std::to_string(version));
    if (version == 0)
        CllBinaryReader::damaged("格式版本无效");
    if (flags != 0)
        CllBinaryReader::damaged("文件标志无效");

    const std::string_view padding =
        bytes.substr(CllFile::HeaderSize + contentLength, checked - CllFile::HeaderSize - contentLength);
    if (padding.find_first_not_of('\0') != std::string_view::npos)
        CllBinaryReader::damaged("填充区含有数据");
    return bytes.substr(CllFile::HeaderSize, contentLength);
}

std::string readWholeFile(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        throw CllFileError(CllFileError::Kind::Io, error == ENOENT ? "文件不存在" : describeFileError(error));
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    struct stat info {};
    if (::fstat(fd, &info) != 0)
        throw CllFileError(CllFileError::Kind::Io, describeFileError(errno));
    if (S_ISDIR(info.st_mode))
        throw CllFileError(CllFileError::Kind::Io, describeFileError(EISDIR));
    if (!S_ISREG(info.st_mode))
        throw CllFileError(CllFileError::Kind::Io, "不是普通文件");

    std::string bytes;
    bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw CllFileError(CllFileError::Kind::Io, describeFileError(errno));
        }
        if (n == 0)
            break; // shrank while reading: the envelope check reports it
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

} // namespace

std::string CllFile::toBytes(const Workbook &workbook, const Selection *view)
{
    return cllBytes(workbook, view);
}

std::unique_ptr<Workbook> CllFile::fromBytes(std::string_view bytes, std::vector<SheetViewState> *views)
{
    try {
        return workbookFromCll(checkEnvelope(bytes), views);
    } catch (const CllFileError &error) {
        throw CllFileError(error.kind(), messageFor(error.kind(), error.what(), std::string()));
    } catch (const std::bad_alloc &) {
        throw CllFileError(CllFileError::Kind::Damaged,
                           messageFor(CllFileError::Kind::Damaged, "内存不足", std::string()));
    }
}

void CllFile::save(const Workbook &workbook, const std::string &path, const Selection *view)
{
    try {
        AtomicFile::writeFile(path, toBytes(workbook, view));
    } catch (const AtomicFileError &error) {
        throw CllFileError(CllFileError::Kind::SaveFailed, error.what());
    } catch (const std::bad_alloc &) {
        throw CllFileError(CllFileError::Kind::SaveFailed, "无法保存文件“" + path + "”：内存不足");
    }
}

std::unique_ptr<Workbook> CllFile::load(const std::string &path, std::vector<SheetViewState> *views)
{
    try {
        const std::string bytes = readWholeFile(path);
        return workbookFromCll(checkEnvelope(bytes), views);
    } catch (const CllFileError &error) {
        throw CllFileError(error.kind(), messageFor(error.kind(), error.what(), path));
    } catch (const std::bad_alloc &) {
        throw CllFileError(CllFileError::Kind::Io, messageFor(CllFileError::Kind::Io, "内存不足", path));
    }
}

} // namespace vantor
