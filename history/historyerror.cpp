#include "historyerror.h"

namespace wordlumen {

QString historyErrorMessage(HistoryError error)
{
    switch (error) {
    case HistoryError::NewerSchema:
        return QStringLiteral("查询历史是更新版本的 Wordlumen 写的，这个版本读不了。"
                              "为了不改坏它，历史记录已暂停，文件保持原样。");
    case HistoryError::Unreadable:
        return QStringLiteral("查询历史文件已损坏，也没能把它移开，历史记录已暂停。");
    case HistoryError::CannotOpen:
        return QStringLiteral("查询历史文件打不开，请检查数据文件夹的权限和磁盘空间。");
    case HistoryError::DriverMissing:
        return QStringLiteral("缺少 Qt 的 SQLite 驱动（Debian 软件包 libqt6sql6-sqlite），"
                              "查询历史无法使用。");
    case HistoryError::Busy:
        return QStringLiteral("查询历史正被另一个程序占用，这次没有保存，请稍后再试。");
    case HistoryError::StorageFailed:
        return QStringLiteral("查询历史读写失败，这次没有改动。磁盘可能已满。");
    case HistoryError::NotFound:
        return QStringLiteral("查询历史里没有这个词。");
    case HistoryError::NothingToExport:
        return QStringLiteral("没有可以导出的词条，所以没有写补充包文件。");
    case HistoryError::ExportFailed:
        return QStringLiteral("导出的文件没能写入，请换一个位置，或检查那里的权限和磁盘空间。");
    }
    return {};
}

} // namespace wordlumen
