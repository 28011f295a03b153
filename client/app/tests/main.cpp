#include <cstdio>
#include <cstring>


#include "app/utils.hpp"
#include "testkit/testmain.hpp"
#include "testler.hpp"

int main(int argc, char** argv)
{
    // A second start of this program, asked by the computer-ID test.
    if (argc == 2 && std::strcmp(argv[1], "--bilgisayar-id") == 0) {
        std::printf("%s\n", durnak::client::BilgisayarIdAl().toUtf8().constData());
        return 0;
    }
    return durnak::testler::TestleriCalistir(
        argc, argv, {beklesinuTesti, utilsTesti, sekmelerTesti, unit1Testi, geriBildirimTesti});
}
