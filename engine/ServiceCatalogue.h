#pragma once
// The 19 entries of the Services page: what the list shows and which service
// each position stands for, kept in one table so the two cannot drift apart.
#include <array>
#include <string>
#include <string_view>

namespace quillon {

struct ServiceEntry {
    std::string_view listText;     // item text of lstService, exact
    std::string_view serviceName;  // name given to the service-control tool
};

inline constexpr std::array<ServiceEntry, 19> kServices{{
    {"Alerter    (System Management Alart)", "Alerter"},
    {"Automatic Updates    (Windows Updater)", "wuauserv"},
    {"Clipbook    (Share your clipboard with remote computer)", "ClipSrv"},
    {"Error Reporting Service    (Services and applications error report)", "ERSvc"},
    {"Fast user Ssictching Compatibility   (Multi-users help management)", "FastUserSwitchingCompatibility"},
    {"Help and Suport    (Help and Support)", "Helpsvc"},
    {"IPSEC Services    (Manage IP security and start ISAKMP/Oakley(IKE) and IP security driver)", "PolicyAgent"},
    {"Messerger   (NET SEND and Alerter services messages)", "Messenger"},
    {"Print Spooler    (Move files to memory to delay printing)", "Spooler"},
    {"Remote Registry    (Remote users can edit your registry by this service)", "RemoteRegistry"},
    {"Security Center    (Watch your PC security and setup)", "wscsvc"},
    {"Server    (If this service stopped, your files would not shared on LAN)", "lanmanserver"},
    {"Shell Hardware Detection    (Autoplay alerter for Hardware Devices)", "ShellHWDetection"},
    {"SSDP Discovery Service    (UPnP Devices Discovery service)", "SSDPSRV"},
    {"Task Scheduler    (Task plan)", "Schedule"},
    {"WebClient    (You can edit files on Internet by this service)", "WebClient"},
    {"Windows Firewall/Internet Connection Sharing(ICS)    (DNS, Firewall etc.)", "SharedAccess"},
    {"Windows Time    (Adjust your windows time)", "W32Time"},
    {"Wireless Zero Configuration    (Auto setup your 802.11 adapter)", "WZCSVC"},
}};

// Where every service's settings live; its start mode is the value "Start" there.
inline constexpr std::string_view kServicesKey = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services";
inline std::string ServiceKey(std::string_view service) {
    return std::string(kServicesKey) + "\\" + std::string(service);
}

}  // namespace quillon
