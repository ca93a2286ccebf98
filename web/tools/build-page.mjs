// Builds the browser edition as one self-contained HTML file:
//
//   node web/tools/build-page.mjs --core build-web/web/ventbox-core.js --out build-web/ventbox.html
//
// The file holds the windows laid out from resources/forms, the page's
// scripts (web/page, bundled by esbuild) and styles, the calculation core
// with its WebAssembly, the pictures of resources/pictures, Liberation Sans
// (the desktop's stand-in for the windows' fonts, cut to the letters the
// program can show when fontTools is there) and the help topics of
// resources/BAS.HLP. It loads nothing from anywhere, so it works opened
// from the disk as well as from a web host.

import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { parseArgs } from 'node:util';

import * as esbuild from 'esbuild';

import { esc, formHtml, readForm } from './layout.mjs';
import { renderHelp } from './render-help.mjs';
import { writeSiteFiles } from './site.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const root = resolve(here, '../..');
const page = join(root, 'web/page');
const fontDir = '/usr/share/fonts/truetype/liberation';
// Every letter of Czech and of its neighbours, the typographic marks the
// help and the sheet use, the symbols the windows show and the help's π and √.
const unicodes = 'U+0020-007E,U+00A0-017F,U+02C7,U+02D8-02DD,U+2013-2014,U+2018-201E,' +
    'U+03C0,U+2022,U+2026,U+2030,U+2039-203A,U+20AC,U+2122,U+2190-2193,U+2212,U+221A';

function fail(message) {
    console.error(`build-page: ${message}`);
    process.exit(1);
}

const { values: args } = parseArgs({ options: { core: { type: 'string' }, out: { type: 'string' } } });
if (!args.core || !args.out) fail('usage: build-page.mjs --core ventbox-core.js --out ventbox.html');
if (!existsSync(args.core)) fail(`no calculation core at ${args.core}`);

// The application's title, where the desktop program sets it.
const startup = readFileSync(join(root, 'app/startup.cpp'), 'utf8');
const title = /setTitle\(QStringLiteral\("([^"]*)"\)\)/.exec(startup)?.[1] ?? fail('no title in app/startup.cpp');

// ---- windows and pictures --------------------------------------------------

const ui = (name) => readForm(readFileSync(join(root, 'resources/forms', `${name}.ui`), 'utf8'));
const splash = formHtml(ui('Unit4'), { frame: 'none', label: title });
const mainForm = ui('Unit1');
const main = formHtml(mainForm, { frame: 'dialog', heading: 'h1' });
const area = formHtml(ui('Unit2'), { frame: 'dialog' });

const pictureDir = join(root, 'resources/pictures');
const pictures = Object.fromEntries(readdirSync(pictureDir).filter((f) => f.endsWith('.bmp')).sort()
    .map((f) => [f.replace(/\.bmp$/, ''), readFileSync(join(pictureDir, f)).toString('base64')]));
for (const name of [...splash.pictures, ...main.pictures, ...area.pictures]) {
    if (!(name in pictures)) fail(`the layouts name the picture ${name}, which resources/pictures lacks`);
}
const iconPng = readFileSync(join(pictureDir, 'ventbox-128.png'));

// ---- font ------------------------------------------------------------------

function font(file) {
    const source = join(fontDir, file);
    if (!existsSync(source)) fail(`${source} is missing (Debian's fonts-liberation)`);
    const work = mkdtempSync(join(tmpdir(), 'ventbox-font-'));
    try {
        const out = join(work, 'font.woff2');
        execFileSync('/usr/bin/python3', ['-m', 'fontTools.subset', source, `--unicodes=${unicodes}`,
            '--flavor=woff2', '--layout-features=kern,liga', '--name-IDs=*', `--output-file=${out}`],
        { stdio: ['ignore', 'ignore', 'pipe'] });
        return { data: readFileSync(out), type: 'woff2' };
    } catch (e) {
        console.warn(`build-page: ${file} embedded whole; cutting it needs fontTools with brotli ` +
            `(python3-fonttools, python3-brotli): ${String(e.stderr ?? e.message).trim().split('\n').at(-1)}`);
        return { data: readFileSync(source), type: 'truetype' };
    } finally {
        rmSync(work, { recursive: true, force: true });
    }
}

function fontFace(file, weight) {
    const { data, type } = font(file);
    const mime = type === 'woff2' ? 'font/woff2' : 'font/ttf';
    return `@font-face{font-family:"ventbox-sans";font-weight:${weight};font-style:normal;font-display:block;` +
        `src:url(data:${mime};base64,${data.toString('base64')}) format("${type}")}`;
}

// ---- help ------------------------------------------------------------------

function helpTopics() {
    return renderHelp(readFileSync(join(root, 'resources/BAS.HLP'), 'utf8'));
}

// ---- scripts and styles ----------------------------------------------------

async function bundle() {
    const result = await esbuild.build({
        entryPoints: [join(page, 'main.js')], bundle: true, format: 'iife', minify: true,
        target: ['chrome100', 'firefox100', 'safari15'], write: false, legalComments: 'none',
        logLevel: 'warning',
    });
    return result.outputFiles[0].text;
}

async function styles(fonts) {
    const sheets = ['page.css', 'sheet.css', 'help.css'].map((f) => join(page, f));
    const css = sheets.map((f) => readFileSync(f, 'utf8')).join('\n');
    const { code } = await esbuild.transform(css, { loader: 'css', minify: true });
    return fonts + code;
}

// Text inside <script> must not close it early.
function scriptText(text) {
    return text.replace(/<\/(script)/gi, '<\\/$1').replace(/<!--/g, '<\\!--');
}

function json(value) {
    return JSON.stringify(value).replace(/</g, '\\u003c');
}

// ---- the page --------------------------------------------------------------

const [script, css, help] = await Promise.all([
    bundle(),
    styles(fontFace('LiberationSans-Regular.ttf', 400) + fontFace('LiberationSans-Bold.ttf', 700)),
    helpTopics(),
]);
const core = readFileSync(args.core, 'utf8');

const html = `<!DOCTYPE html>
<html lang="cs">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<meta http-equiv="Content-Security-Policy" content="default-src 'none'; script-src 'self' 'unsafe-inline' 'unsafe-eval' 'wasm-unsafe-eval'; style-src 'unsafe-inline'; img-src data: blob:; font-src data:; connect-src 'self' data: blob:; worker-src 'self'; manifest-src 'self'; base-uri 'none'; form-action 'none'">
<title>${esc(title)}</title>
<link rel="icon" type="image/png" href="data:image/png;base64,${iconPng.toString('base64')}">
<style>${css}</style>
</head>
<body>
<main id="desk">
${splash.html}
<script type="application/json" id="pictures">${json(pictures)}</script>
<script>${scriptText(script)}</script>
${main.html}
${area.html}
<div id="ended" hidden><p>Program byl ukončen.</p><button type="button" id="restart">Spustit znovu</button></div>
<noscript><p>Program potřebuje JavaScript; v tomto prohlížeči je vypnutý.</p></noscript>
</main>
<script type="application/json" id="help-topics">${json(help)}</script>
<script type="text/plain" id="ventbox-core">${scriptText(core)}</script>
</body>
</html>
`;

writeFileSync(args.out, html);

await writeSiteFiles(dirname(resolve(args.out)), { name: mainForm.title, iconPng: [join(pictureDir, 'ventbox.png'), join(pictureDir, 'ventbox-128.png')] });
