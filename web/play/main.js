// The greeting page's start: the greeting's id comes with the page's address.
import { GreetingPage } from './greeting-page.js';

new GreetingPage(document).open(new URLSearchParams(location.search).get('GID'));
