#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "app/utils.hpp"
#include "server/baglanti.hpp"
#include "testler.hpp"

int main(int argc, char** argv)
{
    // Settings, downloads and the browser's profile go into a throw-away home.
    QTemporaryDir ev;
    qputenv("XDG_CONFIG_HOME", (ev.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (ev.path() + "/data").toUtf8());
    qputenv("XDG_CACHE_HOME", (ev.path() + "/cache").toUtf8());
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);

    for (const char* alt : {"/config", "/data", "/cache"}) QDir().mkpath(ev.path() + alt);
    QApplication app(argc, argv);
    durnak::client::BaglantiMesajlariniBagla();
    // Connection retries without their pauses: the tests wait for nothing else.
    durnak::client::BeklemeKancasiAyarla([](std::chrono::milliseconds) {});

    // "client_signin_tests GirisTesti [qtest options]" runs one class.
    const char* secilen = argc > 1 && argv[1][0] >= 'A' && argv[1][0] <= 'Z' ? argv[1] : nullptr;
    int hatalar = 0;
    QObject* (*fabrikalar[])() = {girisTesti, kullaniciKayitTesti};
    for (auto fabrika : fabrikalar) {
        std::unique_ptr<QObject> test(fabrika());
        if (secilen) {
            if (std::strcmp(test->metaObject()->className(), secilen) != 0) continue;
            argv[1] = argv[0];
            hatalar += QTest::qExec(test.get(), argc - 1, argv + 1);
            argv[1] = const_cast<char*>(secilen);
        } else {
            hatalar += QTest::qExec(test.get(), argc, argv);
        }
    }
    return hatalar == 0 ? 0 : 1;
}
