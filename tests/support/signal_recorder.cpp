#include "test_support/signal_recorder.h"

#include <QMetaMethod>

#include <utility>

namespace test_support
{

SignalRecorder::SignalRecorder(QObject *source, Qt::ConnectionType type) : source_meta(source->metaObject())
{
    for (int i = source_meta->methodOffset(); i < source_meta->methodCount(); ++i) {
        if (source_meta->method(i).methodType() == QMetaMethod::Signal) {
            QMetaObject::connect(source, i, this, QObject::staticMetaObject.methodCount() + i, type);
        }
    }
}

int SignalRecorder::qt_metacall(QMetaObject::Call call, int id, void **argv)
{
    id = QObject::qt_metacall(call, id, argv);
    if (id < 0 || call != QMetaObject::InvokeMetaMethod) {
        return id;
    }
    const QMetaMethod method = source_meta->method(id);
    Entry entry{method.methodSignature(), {}, QThread::currentThread()};
    for (int p = 0; p < method.parameterCount(); ++p) {
        const int type = method.parameterType(p);
        // Enumerations are kept as their int value so that expected values compare plainly.
        if (QMetaType::typeFlags(type) & QMetaType::IsEnumeration) {
            entry.args << QVariant(*static_cast<const int *>(argv[p + 1]));
        } else {
            entry.args << QVariant(type, argv[p + 1]);
        }
    }
    std::function<void(const Entry &)> run;
    {
        std::lock_guard<std::mutex> lock(mutex);
        entries.push_back(entry);
        run = hook;
    }
    if (run) {
        run(entry);
    }
    return -1;
}

void SignalRecorder::onRecord(std::function<void(const Entry &)> hook_to_run)
{
    std::lock_guard<std::mutex> lock(mutex);
    hook = std::move(hook_to_run);
}

std::vector<SignalRecorder::Entry> SignalRecorder::all() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return entries;
}

std::vector<QByteArray> SignalRecorder::signatures() const
{
    std::vector<QByteArray> out;
    for (const auto &e : all()) {
        out.push_back(e.signature);
    }
    return out;
}

std::vector<SignalRecorder::Entry> SignalRecorder::named(const char *name) const
{
    std::vector<SignalRecorder::Entry> out;
    const QByteArray prefix = QByteArray(name) + '(';
    for (const auto &e : all()) {
        if (e.signature.startsWith(prefix)) {
            out.push_back(e);
        }
    }
    return out;
}

std::size_t SignalRecorder::size() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return entries.size();
}

void SignalRecorder::clear()
{
    std::lock_guard<std::mutex> lock(mutex);
    entries.clear();
}

}  // namespace test_support
