#include "robot_proxy/error_code.h"

#include <QCoreApplication>

#include <QHash>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
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

// What one buildTransMap() published: never changed after publication, so readers need no lock while they
// hold it. The hash serves lookup(), the map snapshot().
struct Catalogue {
    QMap<int, QString> map;
    QHash<int, QString> hash;
};

// The current catalogue (null before the first build). Readers copy it under the mutex only when the
// generation moved since their last copy, so a lookup takes no lock in the steady state.
struct Publication {
    std::mutex mutex;
    std::shared_ptr<const Catalogue> current;
    std::atomic<std::uint64_t> generation{0};
};

Publication &publication()
{
    static Publication instance;
    return instance;
}

// Serialises whole rebuilds, so two concurrent rebuilds cannot lose each other's entries.
std::mutex &rebuildMutex()
{
    static std::mutex mutex;
    return mutex;
}

// The catalogue this thread last took, with the generation it belonged to. It keeps an older catalogue
// alive until the thread's next lookup after a rebuild, or the thread's end.
struct ThreadCopy {
    std::uint64_t generation = 0;
    std::shared_ptr<const Catalogue> catalogue;
};

const Catalogue *currentCatalogue()
{
    // Initial-exec: a few bytes of the static TLS block instead of a __tls_get_addr call per lookup.
    thread_local ThreadCopy copy __attribute__((tls_model("initial-exec")));
    Publication &shared = publication();
    if (copy.generation != shared.generation.load(std::memory_order_acquire)) {
        const std::lock_guard<std::mutex> lock(shared.mutex);
        copy.catalogue = shared.current;
        copy.generation = shared.generation.load(std::memory_order_relaxed);
    }
    return copy.catalogue.get();
}

}  // namespace

void ErrorCode::buildTransMap()
{
    const std::lock_guard<std::mutex> rebuild(rebuildMutex());
    // Start from the current map so that entries are only inserted or replaced, never dropped. Only
    // rebuilds write trMap and we hold the rebuild lock, so reading it here races with nothing.
    auto next = std::make_shared<Catalogue>();
    next->map = trMap;
    for (const auto &row : temla::error_stack::detail::kCatalogueRows) {
        next->map.insert(row.code, QCoreApplication::translate("ErrorCode", row.text));
    }
    next->hash.reserve(next->map.size());
    for (auto it = next->map.constBegin(); it != next->map.constEnd(); ++it) {
        next->hash.insert(it.key(), it.value());
    }
    trMap = next->map;
    Publication &shared = publication();
    {
        const std::lock_guard<std::mutex> lock(shared.mutex);
        shared.current = std::move(next);
        shared.generation.fetch_add(1, std::memory_order_release);
    }
}

QString ErrorCode::lookup(int code)
{
    if (const Catalogue *catalogue = currentCatalogue()) {
        const auto it = catalogue->hash.constFind(code);
        if (it != catalogue->hash.constEnd()) {
            return it.value();
        }
    }
    return QString::fromUtf8(temla::error_stack::errorCode2Str(code));
}

QMap<int, QString> ErrorCode::snapshot()
{
    const Catalogue *catalogue = currentCatalogue();
    return catalogue ? catalogue->map : QMap<int, QString>();
}
