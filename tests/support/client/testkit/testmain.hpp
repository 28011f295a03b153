#pragma once

// The main() of a client Qt Test program: the application object, then each test class in
// turn; the exit code says whether any of them failed.
//
//   DURNAK_TEST_MAIN(sepetHesapTesti, sepetTesti)
//
// or, with more to prepare,
//
//   return durnak::testler::TestleriCalistir(argc, argv, {girisTesti}, hazirlik);
//
// "program SinifTesti [qtest options]" runs one class with the options that follow. As with
// QTEST_MAIN, the application is a QApplication where Qt Widgets is linked, else a
// QCoreApplication.

#include <cstring>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>

#include <QByteArray>
#include <QDir>
#include <QObject>
#include <QTemporaryDir>
#include <QTest>

#ifdef QT_WIDGETS_LIB
#include <QApplication>
#else
#include <QCoreApplication>
#endif

namespace durnak::testler {

#ifdef QT_WIDGETS_LIB
using TestUygulamasi = QApplication;
#else
using TestUygulamasi = QCoreApplication;
#endif

// Makes one test class object; the program deletes it after running it.
using TestFabrikasi = QObject* (*)();

struct TestHazirligi {
    // Settings, documents, downloads and caches go into a throw-away home (HOME and the XDG
    // folders, created empty), so that a run neither reads nor leaves the user's own.
    bool geciciEv = false;
    // Runs before the application object exists: environment, application attributes.
    std::function<void()> uygulamadanOnce = {};
    // Runs once the application object exists: hooks of the code under test.
    std::function<void()> uygulamadanSonra = {};
};

// The factory of a test class with a default constructor.
template <class T>
QObject* fabrika()
{
    return new T;
}

// The class named by the first argument, or nullptr when it is a QTest option or a test
// function ("fonksiyon", "fonksiyon:satır"): class names start with a capital letter.
inline const char* secilenSinif(int argc, char** argv)
{
    if (argc < 2) return nullptr;
    const char* ilk = argv[1];
    if (ilk[0] < 'A' || ilk[0] > 'Z') return nullptr;
    if (std::strchr(ilk, ':') != nullptr || std::strchr(ilk, '(') != nullptr) return nullptr;
    return ilk;
}

template <class Uygulama = TestUygulamasi>
int TestleriCalistir(int argc, char** argv, std::initializer_list<TestFabrikasi> fabrikalar,
                     const TestHazirligi& hazirlik = {})
{
    // Run by hand too, the widgets stay off screen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    std::optional<QTemporaryDir> ev;
    if (hazirlik.geciciEv) {
        ev.emplace();
        qputenv("HOME", ev->path().toUtf8());
        for (const char* ad : {"CONFIG", "DATA", "CACHE"}) {
            const QString yol = ev->path() + QLatin1Char('/') + QString::fromLatin1(ad).toLower();
            QDir().mkpath(yol);
            qputenv(QByteArray("XDG_") + ad + "_HOME", yol.toUtf8());
        }
    }
    if (hazirlik.uygulamadanOnce) hazirlik.uygulamadanOnce();
    Uygulama uygulama(argc, argv);
    if (hazirlik.uygulamadanSonra) hazirlik.uygulamadanSonra();

    const char* secilen = secilenSinif(argc, argv);
    int hatalar = 0;
    for (TestFabrikasi fabrika : fabrikalar) {
        std::unique_ptr<QObject> test(fabrika());
        if (!secilen) {
            hatalar += QTest::qExec(test.get(), argc, argv);
            continue;
        }
        if (std::strcmp(test->metaObject()->className(), secilen) != 0) continue;
        // QTest reads options after the program name: hide the class name from it.
        argv[1] = argv[0];
        hatalar += QTest::qExec(test.get(), argc - 1, argv + 1);
        argv[1] = const_cast<char*>(secilen);
    }
    return hatalar == 0 ? 0 : 1;
}

} // namespace durnak::testler

// main() running the test classes the factories make, in this order.
#define DURNAK_TEST_MAIN(...)                                                                                \
    int main(int argc, char** argv) { return durnak::testler::TestleriCalistir(argc, argv, {__VA_ARGS__}); }
