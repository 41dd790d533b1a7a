#include <QSvgRenderer>
#include <QtTest>

// The windows show the artwork at its natural size, so a picture of the wrong size would be
// cut off or leave a gap; a broken file would show nothing at all.
class TestArt : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void picturesLoadAtTheirSizes_data() {
        QTest::addColumn<QString>("resource");
        QTest::addColumn<QSize>("size");
        QTest::newRow("splash") << QStringLiteral(":/art/splash.svg") << QSize(400, 250);
        QTest::newRow("icon") << QStringLiteral(":/art/icon.svg") << QSize(32, 32);
        QTest::newRow("search banner") << QStringLiteral(":/art/search.svg") << QSize(200, 32);
        QTest::newRow("version logo") << QStringLiteral(":/art/version_logo.svg") << QSize(190, 65);
    }

    void picturesLoadAtTheirSizes() {
        QFETCH(QString, resource);
        QFETCH(QSize, size);
        QSvgRenderer renderer(resource);
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.defaultSize(), size);
    }
};

QTEST_MAIN(TestArt)
#include "test_art.moc"
