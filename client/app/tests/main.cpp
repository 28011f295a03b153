#include <cstdio>
#include <cstring>
#include <memory>

#include <QApplication>
#include <QTest>

#include "app/utils.hpp"
#include "testler.hpp"

int main(int argc, char** argv)
{
    // A second start of this program, asked by the computer-ID test.
    if (argc == 2 && std::strcmp(argv[1], "--bilgisayar-id") == 0) {
        std::printf("%s\n", durnak::client::BilgisayarIdAl().toUtf8().constData());
        return 0;
    }

    QApplication app(argc, argv);
    // "client_app_tests UtilsTesti [qtest options]" runs one class.
    const char* secilen = argc > 1 && argv[1][0] != '-' && std::strchr(argv[1], ':') == nullptr &&
                                  std::strchr(argv[1], '(') == nullptr && argv[1][0] >= 'A' && argv[1][0] <= 'Z'
                              ? argv[1]
                              : nullptr;
    int hatalar = 0;
    QObject* (*fabrikalar[])() = {beklesinuTesti, utilsTesti, sekmelerTesti, unit1Testi, geriBildirimTesti};
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
