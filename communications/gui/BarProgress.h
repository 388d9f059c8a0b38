#pragma once

#include "communications/TransmissionFile.h"

#include <QPointer>
#include <QProgressBar>

// The communication window's progress bar as the long runs of the window (file creation, copy) see it.
class BarProgress final : public TransmissionProgress
{
public:
    explicit BarProgress(QProgressBar *bar) : m_bar(bar) {}
    void setMaximum(int maximum) override
    {
        if (m_bar)
            m_bar->setMaximum(maximum);
    }
    void setValue(int value) override
    {
        if (m_bar)
            m_bar->setValue(value);
    }

private:
    QPointer<QProgressBar> m_bar;
};
