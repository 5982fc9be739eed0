// What the store window shows beside the name box: the eight characters the
// device will hold, only while they differ from the text typed.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QWidget>

#include "presets/name_preview.h"

namespace {

TEST(NamePreview, ShowsTheDevicesNameOnlyWhenItDiffers) {
    struct Case {
        const char* typed;
        const char* shown;  // empty: hidden
    };
    const Case cases[] = {
        {"", ""},
        {"AB", ""},                                           // centred only
        {" Show ", ""},                                       // the user's own blanks
        {"PARTY123", ""},                                     // eight: as typed
        {"PARTY1234", "On the device: \"PARTY123\""},         // one too many
        {"A very long name", "On the device: \"A very l\""},  // cut after the eighth
        {"AB      x", "On the device: \"AB      \""},         // the cut leaves blanks
        {"\u6F14", ""},                                       // cannot be coded: the store says so
    };
    QWidget window;
    auto* box = new QLineEdit(&window);
    auto* preview = new presets::NamePreview(box, &window);
    window.show();
    for (const Case& c : cases) {
        box->setText(QString::fromUtf8(c.typed));
        EXPECT_EQ(preview->text(), c.shown) << c.typed;
        EXPECT_EQ(preview->isVisible(), *c.shown != '\0') << c.typed;
    }
}

}  // namespace
