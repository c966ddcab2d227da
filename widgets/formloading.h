#pragma once
// While a window builds its components from its declaration, a few of them
// behave differently (they keep given values instead of deriving them). The
// window marks itself for that time with a TLoadingScope.

#include <QObject>

namespace widgets {

bool IsLoading(const QObject *form);

class TLoadingScope {
public:
    explicit TLoadingScope(QObject *form);
    ~TLoadingScope();
    TLoadingScope(const TLoadingScope &) = delete;
    TLoadingScope &operator=(const TLoadingScope &) = delete;

private:
    QObject *m_form;
    bool m_wasLoading;
};

} // namespace widgets
