#pragma once

#include <QString>

namespace wordlumen {

/**
 * Why a pack could not be parsed, imported or changed. One type for the whole
 * pack area, so callers show `message()` where the user acted without caring
 * which layer failed.
 */
class PackError
{
public:
    enum class Kind
    {
        // The pack file itself.
        EmptyFile,           ///< nothing but white space
        NoValidEntries,      ///< no entry passed its checks
        UnsupportedFileType, ///< not .md, .markdown or .txt
        NotUtf8,             ///< another encoding (UTF-16, GBK, ...) or no text at all
        NotRegularFile,      ///< a folder, pipe or device: never opened, so nothing blocks
        FileTooLarge,        ///< above GlossaryPackageParser::kMaximumFileSize
                             // The library.
        ReadFailed,          ///< the chosen file could not be read
        PackageNotFound,     ///< the pack to change is gone
        LibraryBusy,         ///< another program held the library's lock for too long
                             // The file system refused a write; carries the platform's description.
        FileSystem,
    };

    static PackError emptyFile() { return PackError(Kind::EmptyFile); }
    static PackError noValidEntries() { return PackError(Kind::NoValidEntries); }
    static PackError unsupportedFileType() { return PackError(Kind::UnsupportedFileType); }
    static PackError notUtf8() { return PackError(Kind::NotUtf8); }
    static PackError notRegularFile() { return PackError(Kind::NotRegularFile); }
    static PackError fileTooLarge() { return PackError(Kind::FileTooLarge); }
    static PackError readFailed() { return PackError(Kind::ReadFailed); }
    static PackError packageNotFound() { return PackError(Kind::PackageNotFound); }
    static PackError libraryBusy() { return PackError(Kind::LibraryBusy); }
    static PackError fileSystem(const QString &platformMessage)
    {
        return PackError(Kind::FileSystem, platformMessage);
    }

    [[nodiscard]] Kind kind() const { return m_kind; }
    /// The user's sentence for this error.
    [[nodiscard]] QString message() const;

    bool operator==(const PackError &) const = default;

private:
    explicit PackError(Kind kind, QString detail = {})
        : m_kind(kind)
        , m_detail(std::move(detail))
    {}

    Kind m_kind;
    QString m_detail;
};

} // namespace wordlumen
