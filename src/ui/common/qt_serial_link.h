// The program's serial line: a SerialLink over QSerialPort at 9600 baud, 8N1, no flow
// control. Everything runs on the thread that owns it; nothing blocks that thread.
#pragma once

#include <QObject>
#include <QSerialPort>
#include <QTimer>
#include <functional>

#include "ecu/serial_link.h"

namespace tallimar::ui {

class QtSerialLink : public QObject, public ecu::SerialLink {
  Q_OBJECT
 public:
  explicit QtSerialLink(QObject* parent = nullptr);
  ~QtSerialLink() override;

  common::Outcome open(const std::string& device) override;
  bool isOpen() const override { return m_port.isOpen(); }
  void close() override;
  common::Outcome write(std::span<const std::uint8_t> bytes) override;
  void whenWritten(std::function<void(common::Outcome)> done) override;
  std::vector<std::uint8_t> takeAll() override;
  void notifyWhenWaiting(std::size_t count, std::function<void()> ready) override;

 private:
  void checkWritten();
  void finishWritten(common::Outcome outcome);
  std::size_t bytesInDriver() const;

  QSerialPort m_port;
  std::string m_device;
  QByteArray m_received;  // read ahead of takeAll by the notification
  QTimer m_writeCheck;
  std::function<void(common::Outcome)> m_written;
  qint64 m_writeDeadlineMs = 0;
  std::size_t m_notifyCount = 0;
  std::function<void()> m_ready;
};

}  // namespace tallimar::ui
