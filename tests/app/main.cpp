#include "VelmoApplication.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    VelmoApplication app(argc, argv);
    app.SetTitle(QStringLiteral("Велмо (Velmo) v1.2"));
    return RUN_ALL_TESTS();
}
