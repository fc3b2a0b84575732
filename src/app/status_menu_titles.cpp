#include "app/status_menu_titles.h"

#include <array>

namespace tallowmere {

namespace {

// In the order of InterfaceLanguage's cases.
constexpr std::array<StatusMenuTitles, InterfaceLanguage::count> titles = {{
    {"网络流量显示", "开启代理统计", "一直亮屏", "自定义…"},
    {"Show Network Traffic", "Enable Proxy Traffic", "Always Keep Awake", "Custom…"},
    {"ネットワーク通信量を表示", "プロキシ通信量を計測", "常に画面をオン", "カスタム…"},
    {"顯示網路流量", "啟用代理流量統計", "持續亮屏", "自訂…"},
    {"顯示網絡流量", "啟用代理流量統計", "持續亮屏", "自訂…"},
    {"네트워크 트래픽 표시", "프록시 트래픽 통계 사용", "항상 화면 켜기", "사용자 지정…"},
    {"Afficher le trafic réseau", "Activer les statistiques du proxy", "Toujours allumé", "Personnalisé…"},
    {"Netzwerkverkehr anzeigen", "Proxy-Datenverkehr erfassen", "Immer eingeschaltet", "Benutzerdefiniert…"},
    {"Mostrar tráfico de red", "Activar estadísticas del proxy", "Siempre encendida", "Personalizado…"},
    {"Показывать сетевой трафик", "Учитывать трафик прокси", "Всегда включён", "Настроить…"},
    {"แสดงปริมาณการใช้งานเครือข่าย", "เปิดสถิติการรับส่งข้อมูลพร็อกซี", "เปิดหน้าจอตลอดเวลา", "กำหนดเอง…"},
    {"Ağ trafiğini göster", "Proxy trafiği istatistiklerini aç", "Ekranı hep açık tut", "Özel…"},
    {"إظهار حركة الشبكة", "تمكين إحصاءات حركة الوكيل", "إبقاء الشاشة مضاءة دائمًا", "مخصص…"},
    {"Показувати мережевий трафік", "Облік трафіку проксі", "Завжди тримати екран увімкненим", "Власний час…"},
    {"显示上网流量", "把代理流量也算上", "一直亮着屏", "自己定…"},
    {"显示网络流量", "开启代理流量统计", "屏幕一直亮堂着", "自个儿定…"},
    {"顯示網絡流量", "開啟代理流量統計", "長開螢幕", "自己定…"},
}};

}  // namespace

const StatusMenuTitles& StatusMenuTitles::forLanguage(InterfaceLanguage language) {
    return titles[language.index()];
}

}  // namespace tallowmere
