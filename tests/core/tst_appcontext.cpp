#include "core/AppContext.h"
#include "core/BcMutex.h"

#include <QtTest>

#include <atomic>
#include <thread>

using Brindlecore::Core::AppContext;
using Brindlecore::Core::AppContextEntryInterface;
using Brindlecore::Core::BcMutex;

namespace {

class TrackedEntry : public AppContextEntryInterface
{
public:
    TrackedEntry(const QString &name, std::atomic<int> *destroyed)
        : m_name(name)
        , m_destroyed(destroyed)
    {}
    ~TrackedEntry() override
    {
        if (m_destroyed)
            ++*m_destroyed;
    }
    QString entryName() const override { return m_name; }

private:
    QString m_name;
    std::atomic<int> *m_destroyed;
};

class OtherEntry : public AppContextEntryInterface
{
public:
    QString entryName() const override { return QStringLiteral("other"); }
};

} // namespace

class TestAppContext : public QObject
{
    Q_OBJECT

private slots:
    void replacingAnEntryDestroysTheOld()
    {
        AppContext context;
        std::atomic<int> firstDestroyed{0};
        std::atomic<int> secondDestroyed{0};
        context.addEntry(std::make_unique<TrackedEntry>("timeSource", &firstDestroyed));

        context.addEntry(std::make_unique<TrackedEntry>("timeSource", &secondDestroyed));
        QCOMPARE(firstDestroyed, 1);
        QCOMPARE(secondDestroyed, 0);
        QVERIFY(context.findEntry("timeSource"));
    }

    void takingAnEntryHandsItOver()
    {
        std::atomic<int> destroyed{0};
        std::unique_ptr<AppContextEntryInterface> taken;
        {
            AppContext context;
            context.addEntry(std::make_unique<TrackedEntry>("observerManager", &destroyed));
            taken = context.takeEntry("observerManager");
            QVERIFY(taken);
            QVERIFY(!context.findEntry("observerManager"));
            QVERIFY(!context.takeEntry("observerManager"));
        }
        // The context is gone, the taken entry lives on.
        QCOMPARE(destroyed, 0);
        taken.reset();
        QCOMPARE(destroyed, 1);
    }

    void nullUnknownAndMistypedEntriesAreTolerated()
    {
        AppContext context;
        context.addEntry(nullptr);
        QVERIFY(!context.findEntry(QString()));
        QVERIFY(!context.findEntry(""));
        QVERIFY(!context.takeEntry(QString()));
        context.addEntry(std::make_unique<TrackedEntry>(QString(), nullptr));
        QVERIFY(context.findEntry(QString()));

        context.addEntry(std::make_unique<OtherEntry>());
        QVERIFY(context.findEntryAs<OtherEntry>("other"));
        QVERIFY(!context.findEntryAs<TrackedEntry>("other"));
    }

    void concurrentUseIsSafe()
    {
        std::atomic<int> created{0};
        std::atomic<int> destroyed{0};
        {
            AppContext context;
            std::vector<std::jthread> threads; // joined before the context goes
            for (int t = 0; t < 4; ++t) {
                threads.emplace_back([&, t] {
                    for (int i = 0; i < 2000; ++i) {
                        const QString name = QStringLiteral("entry%1").arg(i % 8);
                        if ((i + t) % 3 == 0) {
                            ++created;
                            context.addEntry(std::make_unique<TrackedEntry>(name, &destroyed));
                        } else if ((i + t) % 3 == 1) {
                            // Only the pointer is looked at: another thread may destroy the entry.
                            context.findEntry(name);
                        } else {
                            context.takeEntry(name).reset();
                        }
                    }
                });
            }
        }
        // Every entry was destroyed exactly once: by replacement, by its taker or by the context.
        QCOMPARE(destroyed.load(), created.load());
    }

    void bcMutexCopiesItsKindNotItsState()
    {
        BcMutex recursive(true);
        recursive.lock();
        QVERIFY(recursive.tryLock()); // re-entrant
        recursive.unlock();

        BcMutex copy(recursive);
        QVERIFY(copy.isRecursive());
        QVERIFY(copy.tryLock()); // the copy is unlocked although the original is held
        copy.unlock();
        recursive.unlock();

        BcMutex plain;
        QVERIFY(!plain.isRecursive());
        plain.lock();
        std::atomic<bool> acquired{true};
        std::thread([&] { acquired = plain.tryLock(); }).join();
        QVERIFY(!acquired);
        plain.unlock();

        plain = recursive;
        QVERIFY(plain.isRecursive());
    }
};

QTEST_GUILESS_MAIN(TestAppContext)
#include "tst_appcontext.moc"
