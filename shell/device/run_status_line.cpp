#include "shell/device/run_status_line.h"

#include <QLocale>
#include <cmath>

#include "emulator/run_errors.h"

namespace zr::shell {

QString RunStatusLine::StateText(const RunStatus& status) {
    if (status.runState >= 3)
        return tr("Ошибка %1 в %2").arg(status.runState).arg(status.programCounter);
    if (status.paused) return tr("Пауза");
    if (status.runState == emulator::kStopped) return tr("Остановлена");
    if (status.waitingForSerialInput) return tr("Ждёт ввода с последовательного порта");
    if (status.waitingForKey) return tr("Ждёт нажатия клавиши");
    if (status.waitingForStep) return tr("Ждёт шага трассировки");
    return tr("Выполняется");
}

QString RunStatusLine::DataChangeText(const QString& name, const QString& value) {
    return tr("Пауза: изменилась %1 = %2").arg(name, value);
}

QString RunStatusLine::CountText(std::uint64_t instructions) {
    return tr("Команд: %1").arg(QLocale().toString(static_cast<qulonglong>(instructions)));
}

QString RunStatusLine::SpeedText(double instructionsPerSecond) {
    return tr("%1 команд/с")
        .arg(QLocale().toString(static_cast<qulonglong>(std::llround(instructionsPerSecond))));
}

void RunStatusLine::Note(std::int64_t milliseconds, const RunStatus& status) {
    const bool running = status.runState == emulator::kRunning && !status.waitingForKey &&
                         !status.waitingForSerialInput && !status.waitingForStep && !status.paused;
    if (!running || (!samples_.empty() && status.instructions < samples_.back().instructions)) {
        samples_.clear();
        speed_ = 0;
        if (!running) return;
    }
    samples_.push_back({milliseconds, status.instructions});
    while (samples_.size() > 2 &&
           milliseconds - samples_[1].milliseconds >= kSpeedWindowMilliseconds)
        samples_.pop_front();
    const Sample& first = samples_.front();
    const std::int64_t span = milliseconds - first.milliseconds;
    if (span > 0) speed_ = (status.instructions - first.instructions) * 1000.0 / span;
}

}  // namespace zr::shell
