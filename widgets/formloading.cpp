#include "formloading.h"

#include <QVariant>

namespace widgets {

namespace {
constexpr const char *kLoadingProperty = "kartolinoLoading";
}

bool IsLoading(const QObject *form) { return form && form->property(kLoadingProperty).toBool(); }

TLoadingScope::TLoadingScope(QObject *form) : m_form(form), m_wasLoading(IsLoading(form))
{
    if (m_form)
        m_form->setProperty(kLoadingProperty, true);
}

TLoadingScope::~TLoadingScope()
{
    if (m_form)
        m_form->setProperty(kLoadingProperty, m_wasLoading);
}

} // namespace widgets
