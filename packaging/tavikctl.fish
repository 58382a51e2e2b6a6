# fish completion for tavikctl

set -l commands show new set ports doctor read program verify diff report pc-control latch moment help
set -l device_commands ports doctor read program verify pc-control latch moment
set -l modes Momentary Toggle Leading-Edge Trailing-Edge Either-Edge Pulse-Stretch Min-Time Max-Time Debounce Latching
set -l gates OR AND XOR IL NOR NAND NXOR NIL

complete -c tavikctl -f
complete -c tavikctl -n "not __fish_seen_subcommand_from $commands" -a show -d "print a configuration file's relays in words"
complete -c tavikctl -n "not __fish_seen_subcommand_from $commands" -a new -d "write a configuration of 16 cleared relays"
complete -c tavikctl -n "not __fish_seen_subcommand_from $commands" -a set -d "change one relay of a configuration file in place"
complete -c tavikctl -n "not __fish_seen_subcommand_from $commands" -a ports -d "list the serial ports"
complete -c tavikctl -n "not __fish_seen_subcommand_from $commands" -a doctor -d "check what stands between you and the ports"
complete -c tavikctl -n "not __fish_seen_subcommand_from $commands" -a read -d "read relays from the device"
complete -c tavikctl -n "not __fish_seen_subcommand_from $commands" -a program -d "program relays from a configuration file"
complete -c tavikctl -n "not __fish_seen_subcommand_from $commands" -a verify -d "check that the device holds a configuration file"
complete -c tavikctl -n "not __fish_seen_subcommand_from $commands" -a diff -d "compare two configuration files"
complete -c tavikctl -n "not __fish_seen_subcommand_from $commands" -a report -d "write a configuration's commissioning record"
complete -c tavikctl -n "not __fish_seen_subcommand_from $commands" -a pc-control -d "put a relay under PC control, or release it"
complete -c tavikctl -n "not __fish_seen_subcommand_from $commands" -a latch -d "latch a PC-controlled relay's input"
complete -c tavikctl -n "not __fish_seen_subcommand_from $commands" -a moment -d "pulse a PC-controlled relay's input"
complete -c tavikctl -n "not __fish_seen_subcommand_from $commands" -a help -d "show the help, or a command's"
complete -c tavikctl -n "__fish_seen_subcommand_from help" -a "$commands"

complete -c tavikctl -n "__fish_seen_subcommand_from $device_commands" -l port -r -d "a port" -a "(__fish_complete_path /dev/tty)"
complete -c tavikctl -n "__fish_seen_subcommand_from $device_commands" -l ports-from -r -F -d "the ports a file names"
complete -c tavikctl -n "__fish_seen_subcommand_from $device_commands" -l simulate -d "the built-in simulated device"
complete -c tavikctl -n "__fish_seen_subcommand_from read program verify set pc-control latch moment" -l relay -x -a "(seq 1 16)" -d "the relay"
complete -c tavikctl -n "__fish_seen_subcommand_from show ports read program verify diff" -l json -d "as JSON"
complete -c tavikctl -n "__fish_seen_subcommand_from verify diff" -l all -d "also what is never programmed"
complete -c tavikctl -n "__fish_seen_subcommand_from program" -l changed -d "only what differs, then read back"
complete -c tavikctl -n "__fish_seen_subcommand_from ports" -l long -d "with the adapters"
complete -c tavikctl -n "__fish_seen_subcommand_from program verify report" -s i -r -F -d "the configuration"
complete -c tavikctl -n "__fish_seen_subcommand_from new read report" -s o -r -F -d "the file to write"
complete -c tavikctl -n "__fish_seen_subcommand_from show diff set" -F
complete -c tavikctl -n "__fish_seen_subcommand_from report" -l title -x -d "the title"
complete -c tavikctl -n "__fish_seen_subcommand_from report" -l page -x -a "a4 letter" -d "paper"
complete -c tavikctl -n "__fish_seen_subcommand_from pc-control" -a "on off"
complete -c tavikctl -n "__fish_seen_subcommand_from set" -l mode -x -a "$modes" -d "relay mode"
complete -c tavikctl -n "__fish_seen_subcommand_from set" -l gate -x -a "$gates" -d "gate"
complete -c tavikctl -n "__fish_seen_subcommand_from set" -l unlatch-gate -x -a "$gates" -d "unlatch gate"
complete -c tavikctl -n "__fish_seen_subcommand_from set" -l inputs -x -d "inputs 1-12, or none"
complete -c tavikctl -n "__fish_seen_subcommand_from set" -l unlatch-inputs -x -d "unlatch inputs"
complete -c tavikctl -n "__fish_seen_subcommand_from set" -l time -x -d "closure time H:MM:SS.hh"
complete -c tavikctl -n "__fish_seen_subcommand_from set" -l pc-control -x -a "on off" -d "under PC control"
