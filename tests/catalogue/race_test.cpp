#include <QCoreApplication>
#include <QTranslator>

#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "robot_proxy/error_code.h"

namespace
{

// Readers on other threads look texts up while this thread rebuilds trMap over and over, switching a
// translator on and off between rebuilds (as constructing proxies after installing translators does).
// Every read must see a whole map: the English or the translated text, never anything else. Run under
// ThreadSanitizer (tsan preset) this also shows the absence of data races.
TEST(CatalogueRace, RebuildWhileOtherThreadsLookUp)
{
    QTranslator translator;
    ASSERT_TRUE(translator.load(QStringLiteral(CATALOGUE_TEST_QM)));
    ErrorCode::buildTransMap();

    const QString english = QStringLiteral("joint%1 error: over current");
    const QString german = QString::fromUtf8("Gelenk%1 Fehler: \u00dcberstrom");
    std::atomic<bool> done{false};
    std::atomic<int> bad_reads{0};
    std::atomic<long> reads{0};

    std::vector<std::thread> readers;
    for (int i = 0; i < 2; ++i) {
        readers.emplace_back([&] {
            while (!done.load()) {
                const QString text = ErrorCode::lookup(10001);
                const QMap<int, QString> map = ErrorCode::snapshot();
                if ((text != english && text != german) || map.size() != 527 ||
                    ErrorCode::lookup(20) != QStringLiteral("Modbus slave address: %1 value %2")) {
                    ++bad_reads;
                }
                ++reads;
            }
        });
    }

    for (int round = 0; round < 100; ++round) {
        if (round % 2 == 0) {
            QCoreApplication::installTranslator(&translator);
        } else {
            QCoreApplication::removeTranslator(&translator);
        }
        ErrorCode::buildTransMap();
    }
    // Let the readers overlap at least a little with the rebuilds on slow machines.
    while (reads.load() < 100) {
        ErrorCode::buildTransMap();
    }
    done = true;
    for (auto &reader : readers) {
        reader.join();
    }

    QCoreApplication::removeTranslator(&translator);
    ErrorCode::buildTransMap();
    EXPECT_EQ(bad_reads.load(), 0);
    EXPECT_EQ(ErrorCode::lookup(10001), english);
}

}  // namespace
