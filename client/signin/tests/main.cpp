#include "testkit/istemci.hpp"
#include "testler.hpp"

int main(int argc, char** argv)
{
    durnak::testler::TestHazirligi hazirlik = durnak::testler::BaglantiliHazirlik();
    // The web view of the sign-in window, without a GPU or a sandbox.
    hazirlik.uygulamadanOnce = [] {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox");
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    };
    return durnak::testler::TestleriCalistir(argc, argv, {girisTesti, kullaniciKayitTesti}, hazirlik);
}
