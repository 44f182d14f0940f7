#include "app/allgemein.h"

int main(int argc, char *argv[])
{
    return Allgemein::Main(argc, argv);
}
