#include <cstring>
#include <memory>

#include <QApplication>
#include <QTest>

#include "testler.hpp"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // "client_basket_tests SepetTesti [qtest options]" runs one class.
    const char* secilen = argc > 1 && argv[1][0] >= 'A' && argv[1][0] <= 'Z' && std::strchr(argv[1], ':') == nullptr
                              ? argv[1]
                              : nullptr;
    int hatalar = 0;
    QObject* (*fabrikalar[])() = {sepetHesapTesti, sepetTesti};
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
