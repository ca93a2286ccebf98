// The help for the page, rendered when the page is built: BAS.HLP split at
// its topic markers ("<!-- topic 1 -->" starts the topic of help context 1,
// "<!-- topic obsah -->" the contents; the text before the first marker is
// not shown), each topic's Markdown turned into HTML by marked. A link
// "[text](2)" becomes a link to the topic of context 2 within the page's
// help window, which help.js follows.

import { Marked } from 'marked';

const marker = /^<!-- topic (\S+) -->[ \t\r]*$/gm;

// The text of inline tokens without their markup: a heading as a title.
function plain(tokens) {
    return tokens.map((t) => (t.tokens ? plain(t.tokens) : t.text ?? '')).join('');
}

export async function renderHelp(text) {
    const found = [...text.matchAll(marker)];
    const sources = found.map((m, i) => ({
        id: m[1],
        markdown: text.slice(m.index + m[0].length, found[i + 1]?.index ?? text.length),
    }));

    const marked = new Marked({ gfm: true, async: false });
    marked.use({
        renderer: {
            link({ href, tokens }) {
                // A topic's name; anything else is an address outside the help.
                // A link to a topic the help lacks still opens in the help
                // window, which says so, as the desktop viewer does.
                if (!/^[\p{L}\p{N}_-]+$/u.test(href)) return false;
                const label = this.parser.parseInline(tokens);
                return `<a href="#napoveda-${href}" data-topic="${href}">${label}</a>`;
            },
        },
    });

    const topics = sources.map(({ id, markdown }) => {
        const heading = marked.lexer(markdown).find((t) => t.type !== 'space');
        const title = heading?.type === 'heading' ? plain(heading.tokens) : '';
        return { id, title, html: marked.parse(markdown) };
    });
    return { topics };
}
