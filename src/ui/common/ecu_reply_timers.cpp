// The ECU commands' one-shot reply timers.
#include "ui/common/ecu_reply_timers.h"

#include <algorithm>

namespace tallimar::ui {

EcuReplyTimers::EcuReplyTimers(std::function<void(commands::EcuTimer)> fired, QObject* parent)
    : QObject(parent), m_fired(std::move(fired)) {
  for (int k = 0; k < 3; ++k) {
    auto* t = new QTimer(this);
    t->setObjectName(QStringLiteral("Timer%1").arg(k + 1));
    t->setSingleShot(true);
    const auto which = static_cast<commands::EcuTimer>(k + 1);
    connect(t, &QTimer::timeout, this, [this, which] { m_fired(which); });
    m_timers[static_cast<std::size_t>(k)] = t;
  }
  setDataRate(50);
}

void EcuReplyTimers::setDataRate(int dataRateMs) {
  for (QTimer* t : m_timers) t->setInterval(std::max(dataRateMs, 1) * 5);
}

QTimer& EcuReplyTimers::timer(commands::EcuTimer which) {
  return *m_timers[static_cast<std::size_t>(which) - 1];
}

void EcuReplyTimers::start(commands::EcuTimer which) { timer(which).start(); }

void EcuReplyTimers::stopAll() {
  for (QTimer* t : m_timers) t->stop();
}

bool EcuReplyTimers::active() const {
  return std::any_of(m_timers.begin(), m_timers.end(), [](QTimer* t) { return t->isActive(); });
}

}  // namespace tallimar::ui
