#include "app/allgemein.h"
#include "platform/session.h"

int main(int argc, char *argv[])
{
    Session::choosePlatform(argc, argv);
    return Allgemein::Main(argc, argv);
}
