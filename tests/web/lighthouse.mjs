// Installability and Lighthouse's scores on its mobile profile, for both
// pages of the site (Chromium). Accessibility and best practices are no
// matter of time and gate; performance is reported.
import lighthouse from 'lighthouse';
import {fail} from './harness.mjs';

export async function audit(engine, page, url) {
  const cdp = await page.createCDPSession();
  const {installabilityErrors} = await cdp.send('Page.getInstallabilityErrors');
  if (installabilityErrors.length) {
    fail(`site: not installable: ${installabilityErrors.map(e => e.errorId).join(', ')}`);
  }
  const port = Number(new URL(engine.browser.wsEndpoint()).port);
  for (const target of [url, `${url}balance.html?speed=3000`]) {
    const {lhr} = await lighthouse(target, {port, logLevel: 'error',
                                            onlyCategories: ['performance', 'accessibility', 'best-practices']});
    const missed = Object.values(lhr.audits)
        .filter(audit => audit.score !== null && audit.score < 1 && audit.scoreDisplayMode === 'binary')
        .map(audit => audit.id);
    const score = id => Math.round(lhr.categories[id].score * 100);
    const metric = id => lhr.audits[id].displayValue;
    console.log(`site: Lighthouse (mobile) of ${target.replace(url, '/')}: performance ${score('performance')}, ` +
                `accessibility ${score('accessibility')}, best practices ${score('best-practices')} (first ` +
                `contentful paint ${metric('first-contentful-paint')}, largest ` +
                `${metric('largest-contentful-paint')}, total blocking time ` +
                `${metric('total-blocking-time')}, speed index ${metric('speed-index')})`);
    if (missed.length) fail(`site: Lighthouse audits missed on ${target}: ${missed.join(', ')}`);
  }
}
