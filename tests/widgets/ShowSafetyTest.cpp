// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
// Traps for an operator in the middle of a show: keys and the wheel that would change what
// was not meant, names that would be read as markup, error boxes that pile up.

#include "BoardButton.h"
#include "MonitorList.h"
#include "SettingsSaver.h"
#include "SoundBoard.h"
#include "WidgetFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

using namespace ozv;
using namespace ozv::test;

namespace {

QString S(const char* t)
{
    return QString::fromUtf8(t);
}

void wheel(QWidget* target, int steps)
{
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent e(at, target->mapToGlobal(at), QPoint(), QPoint(0, 120 * steps), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &e);
}

QList<QMessageBox*> openBoxes()
{
    QList<QMessageBox*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) out << box;
    return out;
}

} // namespace

using ShowSafety = WidgetTest;

TEST_F(ShowSafety, EnterAtTheResetQuestionKeepsTheVolumes)
{
    show.tone(S("a.wav"));
    open();
    form->sounds().buttons()[0]->TrackBar()->setValue(30);
    // The window's own question, answered by the key an operator presses for the next picture.
    QTimer::singleShot(0, [] {
        if (QWidget* box = QApplication::activeModalWidget()) QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_FALSE(form->confirmReset());
    QTimer::singleShot(0, [] {
        if (QWidget* box = QApplication::activeModalWidget()) QTest::keyClick(box, Qt::Key_Return);
    });
    form->VolumesResetBtnClick();
    EXPECT_EQ(form->sounds().buttons()[0]->TrackBar()->value(), 30);
    // Escape is no too.
    QTimer::singleShot(0, [] {
        if (QWidget* box = QApplication::activeModalWidget()) QTest::keyClick(box, Qt::Key_Escape);
    });
    EXPECT_FALSE(form->confirmReset());
}

TEST_F(ShowSafety, TheWheelChangesOnlyWhatTheOperatorChose)
{
    show.tone(S("a.wav"));
    show.tone(S("b.wav"));
    show.picture(S("p.png"));
    displays.list = threeDisplays(); // two displays to choose from for the pictures
    open();
    QSlider* slider = form->sounds().buttons()[0]->TrackBar();
    slider->setValue(50);
    form->saver().timer()->stop();
    wheel(slider, 3); // scrolling the board past it
    EXPECT_EQ(slider->value(), 50);
    EXPECT_FALSE(form->saver().timer()->isActive()); // nothing to store
    QApplication::setActiveWindow(form.get());
    slider->setFocus(); // chosen by a click
    ASSERT_TRUE(slider->hasFocus());
    wheel(slider, 3);
    EXPECT_NE(slider->value(), 50);

    QComboBox* monitors = form->cbMonitor;
    ASSERT_GE(monitors->count(), 2);
    const int chosen = monitors->currentIndex();
    wheel(monitors, chosen == 0 ? -1 : 1); // towards another display
    EXPECT_EQ(monitors->currentIndex(), chosen);
}

TEST_F(ShowSafety, NamesAreShownAsTheyAreNeverAsMarkup)
{
    show.tone(S("3 Akt <i>druhý/01 <b>Tón.wav"));
    open();
    QLabel* header = nullptr;
    for (QLabel* l : form->SoundsFlowLayout->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (l->text().contains(S("druhý"))) header = l;
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->text(), S("Akt <i>druhý"));
    EXPECT_EQ(header->textFormat(), Qt::PlainText);
    EXPECT_EQ(form->sounds().buttons()[0]->text(), S("<b>Tón"));

    qunsetenv("OZV_QUIET_ERRORS");
    form->reportError(S("Cannot decode the picture \"<i>x</i>.png\""));
    qputenv("OZV_QUIET_ERRORS", "1");
    const auto boxes = openBoxes();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0]->textFormat(), Qt::PlainText);
    boxes[0]->close();
    QApplication::processEvents();
}

TEST_F(ShowSafety, ASettingsFileThatCannotBeWrittenKeepsOneBox)
{
    open();
    qunsetenv("OZV_QUIET_ERRORS");
    for (int minute = 0; minute < 6; ++minute)
        form->reportSettingsError(S("Cannot create file \"x\". Disk full (%1)").arg(minute));
    form->reportError(S("another error")); // a different error gets a box of its own
    qputenv("OZV_QUIET_ERRORS", "1");
    const auto boxes = openBoxes();
    QStringList texts;
    for (QMessageBox* b : boxes)
        texts << b->text();
    texts.sort();
    EXPECT_EQ(texts,
              QStringList({S("Cannot create file \"x\". Disk full (5)"), S("another error")}));
    for (QMessageBox* b : boxes)
        b->close();
    QApplication::processEvents();
}

TEST_F(ShowSafety, LongNamesKeepTheEndThatTellsThemApart)
{
    const char* names[] = {
        "door_slam_heavy_wooden_interior_01", "door_slam_heavy_wooden_interior_02",
        "a_very_long_name_without_any_space_that_needs_more_lines_than_fit_07", "Gong"};
    for (const char* n : names) {
        show.tone(QString::fromUtf8(n) + S(".wav"));
        show.picture(QString::fromUtf8(n) + S(".png"));
    }
    open();
    loadThumbnails();
    QList<TBoardButton*> all;
    for (TBoardButton* b : form->sounds().buttons())
        all << b;
    for (int i = 0; i < form->ImagesFlowLayout->childCount(); ++i)
        if (auto* b = qobject_cast<TBoardButton*>(form->ImagesFlowLayout->childAt(i))) all << b;
    ASSERT_EQ(all.size(), 8);
    QSet<QString> seen;
    for (TBoardButton* b : all) {
        const QStringList lines = b->captionLines();
        const QString drawn = lines.join(u' ');
        const QString name = b->text();
        // Every line fits the button, and the lines fit its height.
        for (const QString& line : lines)
            EXPECT_LE(b->fontMetrics().horizontalAdvance(line), b->width()) << line.toStdString();
        EXPECT_LE(lines.size() * b->fontMetrics().lineSpacing(), b->height())
            << drawn.toStdString();
        // Both ends stay; what is left out is marked.
        EXPECT_TRUE(lines.last().endsWith(name.right(2))) << drawn.toStdString();
        EXPECT_TRUE(lines.first().startsWith(name.left(2))) << drawn.toStdString();
        if (QString(drawn).remove(u' ') != name) {
            EXPECT_TRUE(drawn.contains(QChar(0x2026))) << drawn.toStdString();
        }
        EXPECT_FALSE(
            seen.contains(drawn + (b->parentWidget() == form->SoundsFlowLayout ? S("s") : S("p"))))
            << drawn.toStdString();
        seen << drawn + (b->parentWidget() == form->SoundsFlowLayout ? S("s") : S("p"));
    }
    EXPECT_EQ(form->sounds().buttons().last()->captionLines(), QStringList{S("Gong")});
}
