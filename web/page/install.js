// Served over HTTP(S), the page can be installed as an app: it names its
// manifest and registers the service worker that keeps it for offline use
// (both written beside it when the site is built). Opened from disk it does
// nothing and asks for nothing.

export function registerInstall() {
    if (location.protocol !== 'http:' && location.protocol !== 'https:') return;
    const manifest = document.createElement('link');
    manifest.rel = 'manifest';
    manifest.href = 'ventbox.webmanifest';
    document.head.append(manifest);
    // Only secure contexts (HTTPS, or this machine) have service workers.
    if ('serviceWorker' in navigator)
        navigator.serviceWorker.register('ventbox-sw.js').catch(() => {
            // Not installable then; the page works all the same.
        });
}
