#include "robot_proxy/error_code.h"

#include <QCoreApplication>

#include <mutex>
#include <shared_mutex>
#include <utility>

#include "plain_table.h"

namespace temla::error_stack
{

const char *errorCode2Str(int code) noexcept
{
    return detail::kPlainTable.bytes + detail::kPlainTable.offsets[detail::rowIndex(code)];
}

}  // namespace temla::error_stack

QMap<int, QString> ErrorCode::trMap;
QMap<int, QString> ErrorCode::trRetvalMap;

namespace
{

// Guards the trMap object itself: readers share it, buildTransMap() holds it exclusively only for the
// swap of the finished map.
std::shared_mutex &trMapMutex()
{
    static std::shared_mutex mutex;
    return mutex;
}

// Serialises whole rebuilds, so two concurrent rebuilds cannot lose each other's entries.
std::mutex &rebuildMutex()
{
    static std::mutex mutex;
    return mutex;
}

}  // namespace

void ErrorCode::buildTransMap()
{
    const std::lock_guard<std::mutex> rebuild(rebuildMutex());
    // Start from the current map so that entries are only inserted or replaced, never dropped. Only
    // rebuilds write trMap and we hold the rebuild lock, so reading it here races with nothing.
    QMap<int, QString> next = trMap;
    for (const auto &row : temla::error_stack::detail::kCatalogueRows) {
        next.insert(row.code, QCoreApplication::translate("ErrorCode", row.text));
    }
    {
        const std::unique_lock<std::shared_mutex> lock(trMapMutex());
        trMap.swap(next);
    }
    // `next` now holds the previous map and is released here, outside the exclusive lock.
}

QString ErrorCode::lookup(int code)
{
    {
        const std::shared_lock<std::shared_mutex> lock(trMapMutex());
        const QMap<int, QString> &map = trMap;
        const auto it = map.constFind(code);
        if (it != map.constEnd()) {
            return it.value();
        }
    }
    return QString::fromUtf8(temla::error_stack::errorCode2Str(code));
}

QMap<int, QString> ErrorCode::snapshot()
{
    const std::shared_lock<std::shared_mutex> lock(trMapMutex());
    return trMap;
}
