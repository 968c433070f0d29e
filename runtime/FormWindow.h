#pragma once

#include "ScreenDensity.h"
#include "WindowDefinition.h"

#include <QHash>
#include <QImage>
#include <QString>
#include <QWidget>

namespace lumeno {

class Form;

// The on-screen window built from a window definition, in its initial state.
class FormWindow : public QWidget {
public:
    FormWindow(const WindowDefinition& definition, Form& form);

    // The control with that name, or nullptr.
    QWidget* control(std::string_view name) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void addControl(const ControlDefinition& control, const ScreenDensity& density);
    const QImage& picture(const QString& resource);

    Form& form_;
    QHash<QString, QImage> pictures_; // decoded pictures, by resource
};

} // namespace lumeno
