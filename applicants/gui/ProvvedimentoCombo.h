#pragma once

#include <QComboBox>

// The provision-code drop-down of the request dialog: shows the descriptions of PROVVEDIMENTI, keeps
// their codes; Del clears the choice.
class ProvvedimentoCombo : public QComboBox
{
    Q_OBJECT
public:
    explicit ProvvedimentoCombo(QWidget *parent = nullptr);
    // Reads PROVVEDIMENTI again.
    void fill();
    // Shows the provision of the code; nothing chosen for an empty or unknown code.
    void setCode(const QString &code);
    QString code() const;

signals:
    // The user chose a provision or cleared the choice ("" then).
    void codeChosen(const QString &code);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_loading = false;
};
