#include "core/BcHttp.h"

#include "HttpPeer.h"

#include <QBuffer>
#include <QtTest>

class TestBcHttp : public QObject
{
    Q_OBJECT

private slots:
    void download_data()
    {
        QTest::addColumn<QByteArray>("answer"); // then closed; none: never answered, in 1 s
        QTest::addColumn<bool>("succeeds");
        const QByteArray atLimit(BcHttp::MaxBodyBytes, 'x');
        QTest::newRow("200") << httpResponse("200 OK", "body") << true;
        QTest::newRow("body at the limit") << httpResponse("200 OK", atLimit) << true;
        QTest::newRow("body over the limit") << httpResponse("200 OK", atLimit + "x") << false;
        QTest::newRow("404") << httpResponse("404 Not Found", "missing") << false;
        QTest::newRow("redirect not followed")
            << httpResponse("302 Found", "", 0, "Location: /g.qm\r\n") << false;
        QTest::newRow("closed early") << httpResponse("200 OK", "short", 100) << false;
        QTest::newRow("never answered") << QByteArray() << false;
        QTest::newRow("refused") << QByteArray("refused") << false;
    }
    void download()
    {
        QFETCH(QByteArray, answer);
        QFETCH(bool, succeeds);

        HttpPeer peer([&](QTcpSocket *socket, const QByteArray &) {
            if (!answer.isEmpty())
                httpReply(socket, answer);
        });
        QVERIFY(peer.server.listen(QHostAddress::LocalHost));
        const QString url = peer.url();
        if (answer == "refused")
            peer.server.close(); // nobody listens on the port now
        BcHttp http;
        QVERIFY(http.setTimeout(answer.isEmpty() ? 1000 : 30000));
        QBuffer target;
        QCOMPARE(http.get(url, &target), succeeds);
        QVERIFY(!target.isOpen());
        if (succeeds)
            QCOMPARE(target.data(), answer.mid(answer.indexOf("\r\n\r\n") + 4));
        if (answer != "refused")
            QCOMPARE(peer.requests, QList<QByteArray>{"GET /f.qm HTTP/1.1"});
    }

    // A finished download's timer must not fail the next download of the same object.
    void eachDownloadHasItsOwnTimeout()
    {
        constexpr int FirstTimeoutMs = 500;
        HttpPeer peer([](QTcpSocket *socket, const QByteArray &path) {
            QTimer::singleShot(path == "/first" ? 0 : 2 * FirstTimeoutMs, socket,
                               [socket, path] { httpReply(socket, httpResponse("200 OK", path)); });
        });
        QVERIFY(peer.server.listen(QHostAddress::LocalHost));
        BcHttp http;
        QBuffer first, second;
        QVERIFY(http.setTimeout(FirstTimeoutMs));
        QVERIFY(http.get(peer.url("/first"), &first));
        QVERIFY(http.setTimeout(60000));
        QVERIFY(http.get(peer.url("/second"), &second));
        QCOMPARE(second.data(), "/second");
    }

    // The nested loop lets the application quit, an abort, or a second get, which is refused.
    void somethingHappensWhileWaiting_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<bool>("succeeds");
        QTest::newRow("the application quits") << "quit" << false;
        QTest::newRow("abort") << "abort" << false;
        QTest::newRow("a second get") << "get" << true;
    }
    void somethingHappensWhileWaiting()
    {
        QFETCH(QString, event);
        QFETCH(bool, succeeds);
        BcHttp http;
        QBuffer second;
        bool secondSucceeded = false;
        HttpPeer peer([&](QTcpSocket *socket, const QByteArray &path) {
            if (path == "/second")
                return httpReply(socket, httpResponse("200 OK", path));
            if (event == "quit")
                QCoreApplication::quit();
            else if (event == "abort")
                http.abort();
            else
                secondSucceeded = http.get(peer.url("/second"), &second);
            // A wait that went on would end in success.
            QTimer::singleShot(succeeds ? 0 : 10000, socket,
                               [socket] { httpReply(socket, httpResponse("200 OK", "")); });
        });
        QVERIFY(peer.server.listen(QHostAddress::LocalHost));
        QVERIFY(http.setTimeout(0));
        QBuffer first;
        bool succeeded = !succeeds;
        // As in the client, the download runs from the application's event loop.
        QTimer::singleShot(0, &http, [&] {
            succeeded = http.get(peer.url(), &first);
            QCoreApplication::exit();
        });
        QCoreApplication::exec();
        QCOMPARE(succeeded, succeeds);
        QVERIFY(!secondSucceeded);
        QCOMPARE(peer.requests.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestBcHttp)
#include "tst_bchttp.moc"
