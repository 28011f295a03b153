#include <QApplication>

int runWidthTests(int argc, char** argv);
int runGridModelTests(int argc, char** argv);
int runDurnakGridTests(int argc, char** argv);
int runGroupGridTests(int argc, char** argv);
int runExcelTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int failures = 0;
    failures += runWidthTests(argc, argv);
    failures += runGridModelTests(argc, argv);
    failures += runDurnakGridTests(argc, argv);
    failures += runGroupGridTests(argc, argv);
    failures += runExcelTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
