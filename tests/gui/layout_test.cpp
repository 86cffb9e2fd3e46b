// The editor's window: every label, caption and field text fits its box in the GUI font, and
// every control lies whole above the status bar.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>

#include "EditorLayout.h"
#include "GuiFixture.h"

namespace testing_support {
namespace {

TEST_F(GuiTest, EveryTextOfTheEditorWindowFitsItsBox) {
    ASSERT_TRUE(BuildEditorLayout());
    ASSERT_TRUE(WaitForWindow(0));
    const QWidget* status = HandleWidget(gui::StatusBarHandleOf(0));
    for (const LayoutGadget& g : kEditorGadgets) {
        SCOPED_TRACE(g.number);
        QWidget* widget = GadgetWidget(g.number);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), QRect(g.x, g.y, g.w, g.h));
        EXPECT_LE(g.y + g.h, status->y());
        const QFontMetrics metrics(widget->font());
        const QString text = QString::fromUtf8(g.text);
        switch (g.kind) {
            case 't':
                // On one line, without wrapping.
                EXPECT_LE(metrics.horizontalAdvance(text), widget->contentsRect().width());
                EXPECT_LE(metrics.height(), g.h);
                break;
            case 'g':
                EXPECT_LE(metrics.horizontalAdvance(text) + 16, g.w);
                break;
            case 's':
            case 'd': {
                auto* field = static_cast<QLineEdit*>(widget);
                QStyleOptionFrame option;
                option.initFrom(field);
                option.rect = field->rect();
                option.lineWidth =
                    field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
                const QRect inside =
                    field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field);
                EXPECT_GE(inside.height(), metrics.height());
                EXPECT_LE(metrics.horizontalAdvance(text), inside.width());
                break;
            }
            case 'c': {
                auto* check = static_cast<QCheckBox*>(widget);
                EXPECT_LE(check->sizeHint().width(), g.w);
                EXPECT_LE(check->sizeHint().height(), g.h);
                break;
            }
            case 'b':
                EXPECT_LE(widget->sizeHint().height(), g.h);
                break;
            default:
                break;
        }
    }
}

}  // namespace
}  // namespace testing_support
