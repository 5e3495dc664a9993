#pragma once

#include <QCoreApplication>
#include <QMetaMethod>
#include <QObject>
#include <QThread>
#include <QVariant>

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace proxy_test
{

// Processes events and re-checks the condition until it holds or the (generous) deadline passes.
inline bool waitUntil(const std::function<bool()> &condition,
                      std::chrono::milliseconds timeout = std::chrono::milliseconds(10000))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// Every Qt log line of the process, kept for the tests to look at.
class LogCapture
{
public:
    struct Line {
        QtMsgType type;
        std::string text;
        std::string file;
        int line;
        std::string category;
    };

    static void install() { qInstallMessageHandler(&LogCapture::handle); }

    static void clear()
    {
        std::lock_guard<std::mutex> lock(mutex());
        lines().clear();
    }

    static std::vector<Line> snapshot()
    {
        std::lock_guard<std::mutex> lock(mutex());
        return lines();
    }

    static int count(const std::string &text)
    {
        int n = 0;
        for (const auto &line : snapshot()) {
            n += line.text == text ? 1 : 0;
        }
        return n;
    }

    static bool contains(const std::string &text) { return count(text) > 0; }

private:
    static std::mutex &mutex()
    {
        static std::mutex m;
        return m;
    }
    static std::vector<Line> &lines()
    {
        static std::vector<Line> l;
        return l;
    }
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        std::lock_guard<std::mutex> lock(mutex());
        lines().push_back(Line{type, message.toStdString(), context.file ? context.file : "", context.line,
                               context.category ? context.category : ""});
    }
};

// Records every signal of a source object, in emission order, with its arguments and the thread that
// ran the receiver. Works with direct and queued connections (queued delivery needs registered types).
class SignalRecorder : public QObject
{
public:
    struct Entry {
        QByteArray signature;
        QVariantList args;
        QThread *thread;
    };

    SignalRecorder(QObject *source, Qt::ConnectionType type = Qt::DirectConnection)
        : source_meta(source->metaObject())
    {
        for (int i = source_meta->methodOffset(); i < source_meta->methodCount(); ++i) {
            if (source_meta->method(i).methodType() == QMetaMethod::Signal) {
                QMetaObject::connect(source, i, this, QObject::staticMetaObject.methodCount() + i, type);
            }
        }
    }

    int qt_metacall(QMetaObject::Call call, int id, void **argv) override
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
        std::lock_guard<std::mutex> lock(mutex);
        entries.push_back(std::move(entry));
        return -1;
    }

    std::vector<Entry> all() const
    {
        std::lock_guard<std::mutex> lock(mutex);
        return entries;
    }

    std::vector<QByteArray> signatures() const
    {
        std::vector<QByteArray> out;
        for (const auto &e : all()) {
            out.push_back(e.signature);
        }
        return out;
    }

    // Entries whose signature starts with `name(`.
    std::vector<Entry> named(const char *name) const
    {
        std::vector<Entry> out;
        const QByteArray prefix = QByteArray(name) + '(';
        for (const auto &e : all()) {
            if (e.signature.startsWith(prefix)) {
                out.push_back(e);
            }
        }
        return out;
    }

    std::size_t size() const
    {
        std::lock_guard<std::mutex> lock(mutex);
        return entries.size();
    }

    void clear()
    {
        std::lock_guard<std::mutex> lock(mutex);
        entries.clear();
    }

private:
    const QMetaObject *source_meta;
    mutable std::mutex mutex;
    std::vector<Entry> entries;
};

}  // namespace proxy_test
