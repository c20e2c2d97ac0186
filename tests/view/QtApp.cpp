// The Qt application the picture tests need for fonts, created once before any test runs.
#include <QGuiApplication>
#include <gtest/gtest.h>

#include <clocale>

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        // Run by hand the program draws offscreen too, as under ctest.
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
        if (!QGuiApplication::instance()) app_ = new QGuiApplication(argc_, argv_);
        std::setlocale(LC_NUMERIC, "C");
    }

private:
    int argc_ = 1;
    char name_[16] = "test_view";
    char* argv_[2] = {name_, nullptr};
    QGuiApplication* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const qtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace
