#pragma once

#include "ControlTable.h"
#include "FormWindow.h"
#include "PixelImage.h"
#include "ScreenDensity.h"
#include "WindowDefinition.h"

#include <QHash>
#include <QString>
#include <QWidget>

namespace lumeno {

class AnnouncementWidget;
class Form;

// The on-screen window of a window definition, as a top-level Qt widget.
class FormWidget : public QWidget, public FormWindow {
public:
    FormWidget(const WindowDefinition& definition, Form& form);

    void show() override { QWidget::show(); }
    void hide() override { QWidget::hide(); }
    void setMousePointer(MousePointer pointer) override;
    const ControlTable& controls() const override { return controls_; }
    void announce(std::string_view text) override;

    // Whether the window shows the busy pointer.
    bool isBusy() const { return busy_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* addControl(const ControlDefinition& control, const ScreenDensity& density);
    const PixelImage& picture(std::string_view name);

    Form& form_;
    ControlTable controls_;
    QHash<QString, PixelImage> pictures_; // decoded pictures, by resource name
    bool busy_ = false;
    AnnouncementWidget* announcement_ = nullptr;
};

} // namespace lumeno
