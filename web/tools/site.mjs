// What the page needs beside it to be installed as an app when a web server
// serves it: a web app manifest with the program's icons and a service
// worker that keeps the page, the manifest and the icons for offline use.
// Opened from disk, the page uses neither (install.js).

import { createHash } from 'node:crypto';
import { copyFile, readFile, writeFile } from 'node:fs/promises';
import { basename, dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const resources = join(dirname(fileURLToPath(import.meta.url)), '../../resources');
const page = 'ventbox.html';
const manifestName = 'ventbox.webmanifest';
const workerName = 'ventbox-sw.js';

// A key of the desktop entry in Czech.
async function desktopEntry(key) {
    const entry = await readFile(join(resources, 'desktop/ventbox.desktop'), 'utf8');
    return new RegExp(`^${key}\\[cs\\]=(.*)$`, 'm').exec(entry)?.[1];
}

// A PNG's width and height, from its header.
function pngSize(bytes) {
    if (bytes.toString('latin1', 1, 4) !== 'PNG') throw new Error('not a PNG');
    return `${bytes.readUInt32BE(16)}x${bytes.readUInt32BE(20)}`;
}

const worker = (cache, files) => `// Keeps the page for offline use: cache first, the network for the rest.
const cacheName = ${JSON.stringify(cache)};
const files = ${JSON.stringify(files)};

self.addEventListener('install', (event) => {
    event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(files)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
    event.waitUntil(caches.keys()
        .then((names) => Promise.all(names.filter((n) => n.startsWith('ventbox-') && n !== cacheName).map((n) => caches.delete(n))))
        .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
    if (event.request.method !== 'GET') return;
    event.respondWith(caches.match(event.request, { ignoreSearch: true }).then((hit) => hit ?? fetch(event.request)
        .catch((error) => (event.request.mode === 'navigate' ? caches.match(${JSON.stringify(page)}) : Promise.reject(error)))));
});
`;

// Writes the manifest, the service worker and the icons into `outDir`,
// beside the page it holds already. `name`: the app's name (the main
// window's caption); `iconPng`: the icons' files (PNG).
export async function writeSiteFiles(outDir, { name: appName, iconPng }) {
    const icons = [];
    for (const file of iconPng) {
        const name = basename(file);
        icons.push({ src: name, sizes: pngSize(await readFile(file)), type: 'image/png' });
        await copyFile(file, join(outDir, name));
    }
    const manifest = {
        name: appName,
        short_name: 'Ventbox',
        description: await desktopEntry('Comment'),
        lang: 'cs',
        start_url: page,
        scope: './',
        display: 'standalone',
        background_color: '#5f7d95', // the page behind the windows
        theme_color: '#0b3a86', // their caption bars
        icons,
    };
    await writeFile(join(outDir, manifestName), `${JSON.stringify(manifest, null, 2)}\n`);

    // A new page is a new cache: the worker is new, and replaces the old one.
    const html = await readFile(join(outDir, page));
    const cache = `ventbox-${createHash('sha256').update(html).digest('hex').slice(0, 16)}`;
    await writeFile(join(outDir, workerName), worker(cache, [page, manifestName, ...icons.map((i) => i.src)]));
}
