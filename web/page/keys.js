// Alt with the underlined letter of a button's caption chooses the button.

// The shown button under `root` whose accelerator the key event names, or
// null. The letter is the key's, or else the physical key's (where Alt
// makes another character of it).
export function acceleratorButton(event, root) {
    if (!event.altKey || event.ctrlKey || event.metaKey) return null;
    const letter = /^[a-z]$/i.test(event.key)
        ? event.key.toLowerCase()
        : /^Key([A-Z])$/.exec(event.code)?.[1].toLowerCase();
    if (!letter) return null;
    return [...root.querySelectorAll(`button[data-accelerator="${letter}"]`)]
        .find((b) => b.closest('[hidden]') === null) ?? null;
}
