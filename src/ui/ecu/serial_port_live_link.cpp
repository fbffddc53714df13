// QSerialPort behind the live-data window's line.
#include "ui/ecu/serial_port_live_link.h"

#include <QSerialPort>

namespace tallimar::ui {

SerialPortLiveLink::SerialPortLiveLink(QObject* parent)
    : QObject(parent), m_port(new QSerialPort(this)) {
  connect(m_port, &QSerialPort::readyRead, this, &SerialPortLiveLink::bytesArrived);
  // A device that goes away (a USB adapter pulled, the simulator ended) keeps reporting
  // itself readable: close it, so the window's watchdog reports the loss instead of the
  // event loop spinning on it.
  connect(m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
    if (error == QSerialPort::ResourceError && m_port->isOpen()) m_port->close();
  });
}

SerialPortLiveLink::~SerialPortLiveLink() = default;

common::Outcome SerialPortLiveLink::open(const std::string& device) {
  if (m_port->isOpen()) m_port->close();
  m_port->setPortName(QString::fromStdString(device));
  const bool opened = m_port->open(QIODevice::ReadWrite);
  if (!opened || !m_port->setBaudRate(QSerialPort::Baud9600) ||
      !m_port->setDataBits(QSerialPort::Data8) || !m_port->setParity(QSerialPort::NoParity) ||
      !m_port->setStopBits(QSerialPort::OneStop) ||
      !m_port->setFlowControl(QSerialPort::NoFlowControl)) {
    const std::string reason = m_port->errorString().toStdString();
    m_port->close();
    return common::fail("Could not open " + device + ": " + reason);
  }
  m_port->clear();
  return {};
}

bool SerialPortLiveLink::isOpen() const { return m_port->isOpen(); }

void SerialPortLiveLink::close() {
  if (m_port->isOpen()) m_port->close();
}

common::Outcome SerialPortLiveLink::write(std::span<const std::uint8_t> bytes) {
  if (!m_port->isOpen()) return common::fail("The serial port is not open");
  const auto size = static_cast<qint64>(bytes.size());
  if (m_port->write(reinterpret_cast<const char*>(bytes.data()), size) != size)
    return common::fail("Could not write to " + m_port->portName().toStdString() + ": " +
                        m_port->errorString().toStdString());
  return {};
}

std::vector<std::uint8_t> SerialPortLiveLink::takeAll() {
  if (!m_port->isOpen()) return {};
  const QByteArray data = m_port->readAll();
  return {data.begin(), data.end()};
}

void SerialPortLiveLink::notifyWhenWaiting(std::size_t count, std::function<void()> ready) {
  m_count = count;
  m_ready = count ? std::move(ready) : nullptr;
}

void SerialPortLiveLink::bytesArrived() {
  if (m_ready && m_port->isOpen() && static_cast<std::size_t>(m_port->bytesAvailable()) >= m_count)
    m_ready();
}

}  // namespace tallimar::ui
