# shellcheck shell=bash
# Bash completion for kelvane-cli: its commands, each command's options, and
# files (only .cry files and folders where a crypted file is wanted).

_kelvane_cli() {
    local cur prev words cword
    _init_completion || return

    if ((cword == 1)); then
        mapfile -t COMPREPLY < <(compgen -W "encrypt decrypt verify info convert --help --version" -- "$cur")
        return
    fi
    case $prev in
        -o | --output | -p | --password-file | -R | --recipients-file | --passphrase-file)
            _filedir
            return
            ;;
        --recipient | --work-factor)
            return
            ;;
        -j | --jobs)
            mapfile -t COMPREPLY < <(compgen -W "1 2 4 8 16" -- "$cur")
            return
            ;;
        --password-env)
            mapfile -t COMPREPLY < <(compgen -e -- "$cur")
            return
            ;;
    esac

    local command=${words[1]} options
    case $command in
        encrypt | decrypt)
            options="-k --keep -f --force -q --quiet -r --recursive -j --jobs -o --output
                     -c --stdout -p --password-file --password-env -h --help"
            ;;
        verify)
            options="-q --quiet -r --recursive -j --jobs -p --password-file --password-env
                     -h --help"
            ;;
        convert)
            options="-k --keep -f --force -q --quiet -r --recursive -j --jobs -o --output
                     -p --password-file --password-env -a --armor --recipient
                     -R --recipients-file --passphrase-file --work-factor -h --help"
            ;;
        info) options="-h --help" ;;
        *) return ;;
    esac
    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
    elif [[ $command == encrypt ]]; then
        _filedir
    else
        _filedir cry
    fi
} && complete -F _kelvane_cli kelvane-cli
