#include "session/mprisroot.h"

#include "session/mediacontrols.h"

using namespace Qt::StringLiterals;

namespace qiravon {

MprisRoot::MprisRoot(QObject* object, MediaControls& controls)
    : QDBusAbstractAdaptor(object), m_controls(&controls)
{
}

QString MprisRoot::identity() const
{
    return u"Qiravon"_s;
}

QString MprisRoot::desktopEntry() const
{
    return u"qiravon"_s;
}

void MprisRoot::Raise()
{
    if (m_controls)
        m_controls->raise();
}

void MprisRoot::Quit()
{
    // Queued, so the caller has its reply before the program starts to end.
    if (m_controls)
        QMetaObject::invokeMethod(m_controls, &MediaControls::quit, Qt::QueuedConnection);
}

} // namespace qiravon
