// QSerialPort under the ECU commands. Waiting until the written bytes have left the port is
// done by looking at the driver's output queue on a short timer, so that the window stays
// responsive while a 240-byte table goes out at 9600 baud (a quarter of a second).
#include "ui/common/qt_serial_link.h"

#include <sys/ioctl.h>
#include <termios.h>

#include <QDateTime>

namespace tallimar::ui {
namespace {

constexpr int kWriteCheckMs = 5;
// Beyond the time the bytes take on the line, how long a port may hold them before the
// send is given up (a line held by flow control, a stuck adapter).
constexpr qint64 kWriteGraceMs = 2000;
constexpr qint64 kBaud = 9600;

qint64 nowMs() { return QDateTime::currentMSecsSinceEpoch(); }

}  // namespace

QtSerialLink::QtSerialLink(QObject* parent) : QObject(parent) {
  m_writeCheck.setInterval(kWriteCheckMs);
  connect(&m_writeCheck, &QTimer::timeout, this, &QtSerialLink::checkWritten);
  connect(&m_port, &QSerialPort::readyRead, this, [this] {
    m_received += m_port.readAll();
    if (m_ready && m_notifyCount > 0 &&
        static_cast<std::size_t>(m_received.size()) >= m_notifyCount)
      m_ready();
  });
  connect(&m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
    if (m_written && (error == QSerialPort::WriteError || error == QSerialPort::ResourceError))
      finishWritten(common::fail("Could not send to " + m_device + ": " +
                                 m_port.errorString().toStdString()));
  });
}

QtSerialLink::~QtSerialLink() { close(); }

common::Outcome QtSerialLink::open(const std::string& device) {
  if (m_port.isOpen())
    return common::fail("Could not open " + device + ": the port is already open");
  m_device = device;
  m_port.setPortName(QString::fromStdString(device));
  m_port.setBaudRate(QSerialPort::Baud9600);
  m_port.setDataBits(QSerialPort::Data8);
  m_port.setParity(QSerialPort::NoParity);
  m_port.setStopBits(QSerialPort::OneStop);
  m_port.setFlowControl(QSerialPort::NoFlowControl);
  if (!m_port.open(QIODevice::ReadWrite))
    return common::fail("Could not open " + device + ": " + m_port.errorString().toStdString());
  // A fresh opening starts from an empty line: nothing of an earlier reply is read.
  m_port.clear(QSerialPort::AllDirections);
  m_received.clear();
  return {};
}

void QtSerialLink::close() {
  m_writeCheck.stop();
  m_written = nullptr;
  m_received.clear();
  if (m_port.isOpen()) m_port.close();
}

common::Outcome QtSerialLink::write(std::span<const std::uint8_t> bytes) {
  if (!m_port.isOpen()) return common::fail("Could not send: the port is not open");
  const auto size = static_cast<qint64>(bytes.size());
  if (m_port.write(reinterpret_cast<const char*>(bytes.data()), size) != size)
    return common::fail("Could not send to " + m_device + ": " +
                        m_port.errorString().toStdString());
  return {};
}

void QtSerialLink::whenWritten(std::function<void(common::Outcome)> done) {
  if (!m_port.isOpen()) return;
  m_written = std::move(done);
  const qint64 lineMs =
      (m_port.bytesToWrite() + static_cast<qint64>(bytesInDriver())) * 10 * 1000 / kBaud;
  m_writeDeadlineMs = nowMs() + lineMs + kWriteGraceMs;
  m_writeCheck.start();
}

std::size_t QtSerialLink::bytesInDriver() const {
  int queued = 0;
  if (m_port.handle() < 0 || ioctl(m_port.handle(), TIOCOUTQ, &queued) != 0) return 0;
  return static_cast<std::size_t>(std::max(queued, 0));
}

void QtSerialLink::checkWritten() {
  if (!m_written) {
    m_writeCheck.stop();
    return;
  }
  if (m_port.bytesToWrite() == 0 && bytesInDriver() == 0) {
    // The queue is empty; the last byte may still be in the shift register.
    tcdrain(m_port.handle());
    finishWritten({});
  } else if (nowMs() > m_writeDeadlineMs) {
    finishWritten(common::fail("Could not send to " + m_device +
                               ": the port did not send the bytes in time"));
  }
}

void QtSerialLink::finishWritten(common::Outcome outcome) {
  m_writeCheck.stop();
  auto done = std::exchange(m_written, nullptr);
  if (done) done(std::move(outcome));
}

std::vector<std::uint8_t> QtSerialLink::takeAll() {
  if (m_port.isOpen()) {
    // Bytes that arrived since the last notification are fetched now, without waiting.
    while (m_port.waitForReadyRead(0)) {
    }
    m_received += m_port.readAll();
  }
  std::vector<std::uint8_t> bytes(m_received.begin(), m_received.end());
  m_received.clear();
  return bytes;
}

void QtSerialLink::notifyWhenWaiting(std::size_t count, std::function<void()> ready) {
  m_notifyCount = count;
  m_ready = count > 0 ? std::move(ready) : nullptr;
}

}  // namespace tallimar::ui
