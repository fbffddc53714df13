// The live-data window's serial line over QSerialPort: 9600 baud, 8 data bits, no parity,
// one stop bit, whole-buffer reads, a callback once enough bytes are waiting.
#pragma once

#include <QObject>
#include <functional>

#include "ecu/live_link.h"

class QSerialPort;

namespace tallimar::ui {

class SerialPortLiveLink : public QObject, public ecu::LiveLink {
  Q_OBJECT
 public:
  explicit SerialPortLiveLink(QObject* parent = nullptr);
  ~SerialPortLiveLink() override;

  common::Outcome open(const std::string& device) override;
  bool isOpen() const override;
  void close() override;
  common::Outcome write(std::span<const std::uint8_t> bytes) override;
  std::vector<std::uint8_t> takeAll() override;
  void notifyWhenWaiting(std::size_t count, std::function<void()> ready) override;

 private:
  void bytesArrived();

  QSerialPort* m_port;
  std::size_t m_count = 0;
  std::function<void()> m_ready;
};

}  // namespace tallimar::ui
