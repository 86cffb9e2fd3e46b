// The editor's window: every label, caption and field text fits its box in the GUI font, and
// every control lies whole above the status bar.
#include "GuiFixture.h"
#if GUI_TESTS_ON_QT
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>

#include "support/qt/Widgets.h"
#endif

#include "EditorLayout.h"

namespace testing_support {
namespace {

TEST_F(GuiTest, EveryTextOfTheEditorWindowFitsItsBox) {
    ASSERT_TRUE(BuildEditorLayout());
    ASSERT_TRUE(WaitForWindow(0));
    const int statusTop = InClient(0, gui::StatusBarHandleOf(0)).top;
    for (const LayoutGadget& g : kEditorGadgets) {
        SCOPED_TRACE(g.number);
        ASSERT_NE(gui::GadgetHandleOf(g.number), 0);
        const platform::Rect rect = InClient(0, gui::GadgetHandleOf(g.number));
        EXPECT_EQ(Point(rect.left, rect.top), Point(g.x, g.y));
        EXPECT_EQ(Point(rect.right - rect.left, rect.bottom - rect.top), Point(g.w, g.h));
        EXPECT_LE(g.y + g.h, statusTop);
#if GUI_TESTS_ON_QT  // the toolkit's own font metrics and style
        QWidget* widget = GadgetWidget(g.number);
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
#endif
    }
}

}  // namespace
}  // namespace testing_support
