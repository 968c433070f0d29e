#pragma once

// A shown Form1 on the offscreen platform, with helpers to reach its widgets and to
// act as the user does.

#include "ErrorReport.h"
#include "Form.h"
#include "Form1.h"
#include "PictureBox.h"
#include "Program.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace lumeno {

class FormFixture : public testing::Test {
protected:
    explicit FormFixture(std::span<const EventBinding> bindings = programHeader().bindings)
        : form(form1Definition(), bindings) {}

    void SetUp() override {
        setErrorPresenter([this](const std::string& title, const std::string& text) {
            reports.push_back({title, text});
        });
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window()));
    }

    void TearDown() override {
        setErrorPresenter({});
        form.unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The visible Form1 windows (deleted ones go once deferred deletes ran).
    static std::vector<QWidget*> form1Windows() {
        std::vector<QWidget*> windows;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->objectName() == "Form1" && widget->isVisible())
                windows.push_back(widget);
        return windows;
    }

    static QWidget* window() {
        const auto windows = form1Windows();
        return windows.size() == 1 ? windows.front() : nullptr;
    }

    template <class Widget = QWidget> static Widget* widget(const char* name) {
        QWidget* shown = window();
        return shown == nullptr ? nullptr : shown->findChild<Widget*>(name);
    }

    void typeParameter(const QString& text) {
        widget<QLineEdit>("txtBrightness")->setFocus();
        QTest::keyClicks(widget<QLineEdit>("txtBrightness"), text);
    }

    void clickGo() { click("cmdGo"); }
    void click(const char* button) {
        QTest::mouseClick(widget<QPushButton>(button), Qt::LeftButton);
    }

    // Runs the action once, inside the n-th event pump from now: during a run, the n-th
    // pump is the one after row n - 1.
    void atPump(int n, std::function<void()> action) {
        pumpTimer = std::make_unique<QTimer>();
        QObject::connect(pumpTimer.get(), &QTimer::timeout,
                         [this, remaining = n, action = std::move(action)]() mutable {
                             if (--remaining == 0) {
                                 pumpTimer->stop();
                                 action();
                             }
                         });
        pumpTimer->start(0);
    }

    // The colour values a box shows over its client area, row by row.
    std::vector<std::int32_t> shownPixels(const char* box) {
        PictureBox& picture = form.pictureBox(box);
        const ScaleMode mode = picture.scaleMode();
        picture.setScaleMode(ScaleMode::Pixels);
        std::vector<std::int32_t> pixels;
        for (int y = 0; y < static_cast<int>(picture.innerHeight()); ++y)
            for (int x = 0; x < static_cast<int>(picture.innerWidth()); ++x)
                pixels.push_back(picture.readPixel(static_cast<float>(x), static_cast<float>(y)));
        picture.setScaleMode(mode);
        return pixels;
    }

    struct Report {
        std::string title;
        std::string text;
    };

    Form form;
    std::unique_ptr<QTimer> pumpTimer;
    std::vector<Report> reports;
};

} // namespace lumeno
