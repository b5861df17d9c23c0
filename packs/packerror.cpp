#include "packerror.h"

#include "glossarypackageparser.h"

namespace wordlumen {

QString PackError::message() const
{
    switch (m_kind) {
    case Kind::EmptyFile:
        return QStringLiteral("文件里没有可读取的文字。");
    case Kind::NoValidEntries:
        return QStringLiteral("没有识别到有效词条。请使用设置页里的提示词重新生成补充包。");
    case Kind::UnsupportedFileType:
        return QStringLiteral("只支持导入 MD 或 TXT 文件。");
    case Kind::NotUtf8:
        return QStringLiteral("这个文件不是 UTF-8 编码，请在文本编辑器里把它另存为 UTF-8 "
                              "编码的文本后再导入。");
    case Kind::NotRegularFile:
        return QStringLiteral(
            "这不是一个普通文件（可能是文件夹、管道或设备），不能作为补充包导入。");
    case Kind::FileTooLarge:
        return QStringLiteral("补充包文件超过 %1 MB，请把它拆成几个较小的补充包再分别导入。")
            .arg(GlossaryPackageParser::kMaximumFileSize / (1024 * 1024));
    case Kind::ReadFailed:
        return QStringLiteral("文件读取失败，请确认它是 UTF-8 编码的 MD 或 TXT 文件。");
    case Kind::PackageNotFound:
        return QStringLiteral("这个补充包已经不存在。");
    case Kind::LibraryBusy:
        return QStringLiteral("补充包库正被另一个程序改动，这次改动没有保存，请稍后再试。");
    case Kind::FileSystem:
        return m_detail;
    }
    return {};
}

} // namespace wordlumen
