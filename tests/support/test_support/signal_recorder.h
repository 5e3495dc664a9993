#pragma once

#include <QByteArray>
#include <QObject>
#include <QThread>
#include <QVariantList>

#include <cstddef>
#include <functional>
#include <mutex>
#include <vector>

namespace test_support
{

// Records every signal of a source object, in emission order, with its arguments and the thread that
// ran the receiver. Works with direct and queued connections (queued delivery needs registered types);
// arguments of an unregistered type are recorded as invalid QVariants.
class SignalRecorder : public QObject
{
public:
    struct Entry {
        QByteArray signature;
        QVariantList args;
        QThread *thread;
    };

    explicit SignalRecorder(QObject *source, Qt::ConnectionType type = Qt::DirectConnection);

    int qt_metacall(QMetaObject::Call call, int id, void **argv) override;

    // Runs on the receiving thread after each entry is recorded, without the recorder's lock.
    void onRecord(std::function<void(const Entry &)> hook);

    std::vector<Entry> all() const;
    std::vector<QByteArray> signatures() const;
    // Entries whose signature starts with `name(`.
    std::vector<Entry> named(const char *name) const;
    std::size_t size() const;
    void clear();

private:
    const QMetaObject *source_meta;
    mutable std::mutex mutex;
    std::vector<Entry> entries;
    std::function<void(const Entry &)> hook;
};

}  // namespace test_support
