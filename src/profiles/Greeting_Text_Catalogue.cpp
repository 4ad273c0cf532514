#include "profiles/Greeting_Text_Catalogue.h"

#include <span>
#include <string_view>

namespace {

using Text = std::u16string_view;

// The texts of each category in the order they are offered. A text may stand in more than one category;
// most flirty texts end in two blanks, which every reader trims away before the text reaches a card.
// Beyond ASCII the texts use only the typographic quotes U+2018 and U+2019 and the ellipsis U+2026.
// clang-format off

// "1": cute
constexpr Text Cute_Titles[] = {
    u"Music of the Heart-Love!!!",
    u"Just Because I Love You",
    u"You Make My Whole Day Brighter",
    u"Hello, Cupcake!",
    u"A Little Note for My Sweet Pea",
    u"You + Me = Cute Forever",
    u"Warm Hugs Coming Your Way",
    u"My Favourite Teddy Bear",
    u"Snuggle Alert!!!",
};
constexpr Text Cute_Messages[] = {
    u"You are the sprinkles on my cupcake and the cherry on my ice cream. Life is just sweeter with you around.",
    u"Every day with you feels like opening a present I never knew I wanted.",
    u"I made a list of everything that makes me happy, and somehow you were written on every single line.",
    u"If hugs were stamps, I would post you a whole envelope of them today.",
    u"If you were a kitten, I would carry you around in my pocket all day. Since you are not, a big hug will have to do.",
    u"Some people count sheep to fall asleep. I count all the tiny things you do that make me grin, and I never reach the end.",
    u"You have the cutest laugh in the whole wide world, and I plan to hear it every day.",
    u"This little gift comes wrapped in ribbon, but the real present is the smile I hope it brings you.",
    u"Sending you a jar full of giggles, a bag of sunshine and one enormous squeeze.",
    u"Just a tiny reminder that you are adorable, and that I am lucky to have you.",
    u"My heart does a happy little dance every time your name pops up on my phone.",
    u"You and me are like cookies and milk: good on our own, but so much better together.",
    u"Guess who\u2019s thinking about you right now? Me\u2026 again\u2026 as always!",
};

// "2": funny
constexpr Text Funny_Titles[] = {
    u"I'm addicted to LOVE.",
    u"Warning: Highly Contagious Smile",
    u"You Stole My Fries and My Heart",
    u"Official Certificate of Awesomeness",
    u"Love You More Than Pizza (Almost)",
    u"Danger: Cuteness Overload Ahead",
    u"Still Not Tired of You, Weirdly",
    u"My Snack Sharing Buddy for Life",
    u"Help! I Can't Stop Grinning",
};
constexpr Text Funny_Messages[] = {
    u"I love you even when you steal the blanket, hog the remote and eat the last slice of cake. That is real love.",
    u"If hugs were stamps, I would post you a whole envelope of them today.",
    u"Scientists say laughing is good for your health. That explains why I feel so great around you, you big goofball.",
    u"You are the reason I check my phone forty times an hour. My battery is not happy, but I am.",
    u"I got you a present, but I ate half of it on the way. The other half is yours, with love.",
    u"I would share my chocolate with you. Not all of it, let us not get carried away, but definitely a square or two.",
    u"Roses cost a fortune this week, so here is a drawing of one. Please imagine that it smells lovely.",
    u"I tried to write you something romantic, but my cat walked across the keyboard\u2026 so here\u2019s \u2018jjjjkkkk\u2019 with love.",
    u"I\u2019d fight a goose for you. Maybe not a big one, but a medium goose, definitely.",
};

// "3": gifts
constexpr Text Gifts_Titles[] = {
    u"Sending flowers to flower!!!",
    u"A Little Something for You",
    u"Unwrap a Smile",
    u"Gift Delivery for My Favourite Person",
    u"Wrapped with Love, Tied with Care",
    u"A Present to Brighten Your Day",
    u"Open Me First!",
    u"Surprise! This One Is All Yours",
    u"Ribbons, Bows and Lots of Love",
};
constexpr Text Gifts_Messages[] = {
    u"These flowers are bright, but they still cannot match the colour you bring into my life.",
    u"This little gift comes wrapped in ribbon, but the real present is the smile I hope it brings you.",
    u"I searched every shop in town for something as lovely as you. I failed, so please accept this instead.",
    u"A small gift for a big heart. Thank you for being so wonderfully you.",
    u"I got you a present, but I ate half of it on the way. The other half is yours, with love.",
    u"Inside this box is a little treasure, but the greatest treasure is the time we spend together.",
    u"No special reason, no special date. I just saw this and thought of you straight away.",
    u"May this gift remind you that someone out there thinks the world of you, every single day.",
    u"Shake it, guess it, then open it slowly. I packed a hug in there too, right at the bottom.",
};

// "4": good morning
constexpr Text Good_Morning_Titles[] = {
    u"Good morning My Love.",
    u"Rise and Shine, Darling!",
    u"Wake Up, Sleepyhead",
    u"A Fresh Morning Just for You",
    u"Coffee, Sunshine and You",
    u"Hello, Beautiful Morning",
    u"The Sun Is Up and So Is My Heart",
    u"Morning Hugs Are on the Way",
    u"Start Your Day with a Smile",
};
constexpr Text Good_Morning_Messages[] = {
    u"Good morning, my love. The sun came up just to see your smile, and honestly, I understand why.",
    u"Good morning! I hope your coffee is strong, your day is kind, and every hour brings you a little reason to smile.",
    u"Open your eyes, stretch your arms and remember that someone is wishing you the best day ever.",
    u"Every sunrise is a brand new page. I hope today's page is full of laughter and good news.",
    u"I woke up reaching for you and found only a pillow. Come back soon, the mornings are far too quiet without you.",
    u"Wake up, sleepyhead! The birds are singing, the kettle is on and I am already missing you.",
    u"My mornings became brighter the day you walked into my life. Thank you for being my sunshine.",
    u"I hope you slept well and dreamed of something sweet. Now go and make this day yours.",
    u"Breakfast tastes better, the sky looks bluer and the day feels kinder, all because I get to love you.",
    u"A new morning, a new chance to be happy. Take a deep breath and enjoy every moment of it.",
    u"Before the world gets busy, I wanted to be the first to say: good morning and I love you.",
    u"May your inbox be small, your lunch be tasty and your heart be light all day long.",
    u"The morning is quiet and soft, just like the way I think of you when I first wake up.",
    u"Whether the sun is rising or setting, my first and last thought is always you.",
    u"Sending you a warm hug to go with your first cup of tea. Have a wonderful day.",
    u"The early light is painting the sky pink and gold over the rooftops, the birds are busy warming up their voices, and it all reminds me how lucky I am to share every single one of my days with you.",
    u"Good morning to the person who makes every alarm clock worth it.",
    u"Nobody has used this day yet. It is all yours, fresh and shiny, so fill it with something wonderful.",
    u"Rise and shine! You have a beautiful day ahead and a whole lot of love behind you.",
    u"Wherever today takes you, carry this little message with you: you are loved, you are strong and you can do it.",
    u"Good morning! I\u2019d bring you breakfast in bed, but I\u2019d probably eat it on the way\u2026 so here\u2019s a kiss instead.",
    u"It\u2019s a brand new day, sweetheart. Don\u2019t forget to smile, because somebody out here adores you.",
};

// "5": good night
constexpr Text Good_Night_Titles[] = {
    u"Good Night My Love!!!",
    u"You Are in My Dreams Tonight",
    u"Sweet Dreams, Darling",
    u"Sleep Tight, My Angel",
    u"A Goodnight Kiss for You",
    u"The Same Moon for Us Both",
    u"Rest Well, Sweetheart",
    u"Tucked In with Love",
    u"Night Night, Sleepyhead",
    u"Stars Are Watching Over You",
    u"Until Morning Comes",
    u"Close Your Eyes and Dream",
};
constexpr Text Good_Night_Messages[] = {
    u"Good night, my love. May your dreams be soft and your sleep be deep, and may you wake up smiling.",
    u"Close your eyes and know that you are loved, tonight and every night after.",
    u"The day is done and you did wonderfully. Now rest, and let the moon keep watch over you.",
    u"I am sending a little cloud of sweet dreams your way. Catch it and hold on tight.",
    u"The stars are out, the house is quiet, and all I can think about is how far away you are. Good night, and come home soon.",
    u"Tonight the stars look brighter than usual. I think they know I am thinking of you.",
    u"Put away your worries, pull up the blanket and let tomorrow take care of itself. Good night.",
    u"One last message before I sleep: you are my favourite thought to fall asleep with.",
    u"Wherever you are tonight, we are under the same sky, and that makes you feel a little closer.",
    u"Whether the sun is rising or setting, my first and last thought is always you.",
    u"Sleep well, sweetheart. I will meet you in our dreams, the usual place, right after midnight.",
    u"May your pillow be cool, your blanket be warm and your dreams be full of happy things.",
    u"Another day ends, another night begins, and I am still completely yours. Good night.",
    u"Let the quiet of the night wrap around you like a hug from me.",
    u"Turn off the lights, take a deep breath and know that someone is wishing you the sweetest rest.",
    u"The moon asked me why I was still awake. I told it I was busy thinking about you.",
    u"Good night to the one who makes my days bright and my nights peaceful.",
    u"It\u2019s late, the world is asleep, and here I am\u2026 still smiling about something you said today.",
    u"Don\u2019t stay up too late! Tomorrow needs you rested, and I need you to dream of me.",
};

// "6": for her
constexpr Text For_Her_Titles[] = {
    u"I love you sweetie!!!",
    u"Rise and Shine, Darling!",
    u"To My Beautiful Queen",
    u"For the Girl Who Has My Heart",
    u"Sweetheart, You Mean Everything",
    u"Simply Wonderful You",
    u"My Darling, My Dearest",
    u"A Rose for My Lady",
    u"For the Woman I Adore",
};
constexpr Text For_Her_Messages[] = {
    u"You are beautiful in a way that has nothing to do with mirrors: in the way you care, the way you laugh and the way you love.",
    u"Every day with you feels like opening a present I never knew I wanted.",
    u"Thank you for being my partner, my friend and the kindest heart I know.",
    u"You are the calm in my busy days and the sparkle in my quiet ones.",
    u"When you smile, the whole room gets warmer. I hope you never stop smiling.",
    u"You are strong, clever and gentle all at once, and I admire you more every day.",
    u"Good morning! I hope your coffee is strong, your day is kind, and every hour brings you a little reason to smile.",
    u"I fall for you a little more every time you tell me about your day.",
    u"To the woman who turns ordinary days into the best memories: I love you.",
    u"You make every plan I have for the future brighter. Let us build that future together.",
    u"You deserve flowers every day, but for now please accept my heart, which is already yours.",
    u"Being with you feels like coming home after a long trip. Warm, safe and full of light.",
    u"I was wrong, and I am sorry. You deserve patience and kindness, and from today that is what I will give you.",
    u"I could write a hundred pages about you and still not find enough words for how special you are.",
    u"You\u2019re the first person I want to tell good news to and the one I want beside me on hard days.",
};

// "7": for him
constexpr Text For_Him_Titles[] = {
    u"You Are My Sunshine!!!",
    u"You Make My Whole Day Brighter",
    u"To My Handsome Man",
    u"For My Hero",
    u"My Rock, My Love",
    u"For the Guy Who Stole My Heart",
    u"You Are My Favourite Person",
    u"To the Best Man I Know",
    u"Just for You, Handsome",
};
constexpr Text For_Him_Messages[] = {
    u"You make me laugh when I want to cry, and you hold my hand when the road gets bumpy. Thank you for being you.",
    u"You are my safe place, my best friend and my favourite person to come home to.",
    u"To my handsome man: you are kind, brave and a little bit silly, and I would not change a single thing.",
    u"I feel safe when you hold me and proud when I stand beside you.",
    u"Good morning! I hope your coffee is strong, your day is kind, and every hour brings you a little reason to smile.",
    u"Every day with you is an adventure, even when we are only going to the supermarket.",
    u"You are the calm voice in my storms and the loudest cheer at my wins.",
    u"Thank you for all the little things you do that you think nobody notices. I notice, and I love you for them.",
    u"Distance is just a number on a map. My heart still lives right next to yours.",
    u"You are my best friend, my partner in crime and the love of my life, all in one.",
    u"Your hugs fix bad days better than any medicine ever could.",
    u"I admire your patience, your heart and the way you never give up. You inspire me.",
    u"I am sorry for the hurt I caused. Let me make it right, one honest day at a time.",
    u"No matter where life takes us, I want to walk the whole way with you.",
    u"You are the reason I believe in happy endings, and the reason I look forward to every new beginning.",
    u"Whenever I hear your laugh, I know everything is going to be all right.",
    u"I know you\u2019ll say it\u2019s nothing special, but to me, you\u2019re the most special person in the world.",
};

// "8": love you
constexpr Text Love_You_Titles[] = {
    u"I Love You My Soul!!!",
    u"Just Because I Love You",
    u"My Heart Is Yours to Keep",
    u"Forever Yours, Always Mine",
    u"You Are Loved, Always",
    u"With My Whole Heart",
    u"You Are My Happy Place",
    u"Three Words, Always True",
    u"My Love for You Grows Every Day",
    u"Two Hearts, One Beat",
};
constexpr Text Love_You_Messages[] = {
    u"I love you more than words can hold, so I will keep showing you instead, every single day.",
    u"Every day with you feels like opening a present I never knew I wanted.",
    u"Loving you is the easiest thing I have ever done, and the best decision my heart ever made.",
    u"Close your eyes and know that you are loved, tonight and every night after.",
    u"Some days I love you quietly, some days I love you loudly, but every day I love you completely.",
    u"You are the calm in my busy days and the sparkle in my quiet ones.",
    u"Given a thousand chances to pick a partner, I would pick you every single time, without a second thought.",
    u"My heart found its home the day it found you.",
    u"You are my safe place, my best friend and my favourite person to come home to.",
    u"You are the best part of my every day, and the first thing I am grateful for each night.",
    u"Thank you for loving me on my good days and even more on my messy ones.",
    u"I want to spend every ordinary Tuesday and every grand adventure by your side. Will you let me?",
    u"There is no one else I would rather share my silly jokes, my quiet mornings and my whole life with.",
    u"I love the way you look at me, the way you say my name and the way you make everything feel possible.",
};

// "9": miss you
constexpr Text Miss_You_Titles[] = {
    u"I miss you girl.",
    u"You Are in My Dreams Tonight",
    u"Counting the Days Until You",
    u"Missing You More Each Day",
    u"Hurry Home to Me",
    u"Too Far Away from You",
    u"An Empty Chair Without You",
    u"Thinking of You, Always",
};
constexpr Text Miss_You_Messages[] = {
    u"The house is too quiet without your laugh. Hurry back, I am counting the days.",
    u"I woke up reaching for you and found only a pillow. Come back soon, the mornings are far too quiet without you.",
    u"I miss your voice, your hugs and even the way you hum off key in the kitchen.",
    u"Every song on the radio reminds me of you today. I think the radio misses you too.",
    u"Miles apart, but you are still the first person I think of in the morning and the last at night.",
    u"The stars are out, the house is quiet, and all I can think about is how far away you are. Good night, and come home soon.",
    u"I keep turning around to tell you something, then I remember you are not here. Come back soon.",
    u"Missing you is the hardest part of my day, and seeing you again will be the best.",
    u"I saved all my hugs for you. There are quite a lot of them by now, so be ready.",
    u"Distance is just a number on a map. My heart still lives right next to yours.",
    u"The days feel longer when you are away. I cannot wait to hold you again.",
    u"I miss the little things most: your coffee cup on the table, your shoes by the door, your smile across the room.",
    u"Until we are together again, here is a kiss carried by the wind. Watch out for it.",
    u"Even the weather is gloomy since you left. Please come home and bring the sunshine back.",
    u"No video call is long enough and no message says it all. I simply miss you.",
    u"I look at our photos and smile, then I look at the calendar and sigh. Soon, my love, soon.",
    u"I\u2019ve been staring at my phone all day, hoping it\u2019s you every time it buzzes\u2026",
    u"It\u2019s funny how one person being gone can make the whole world feel empty. Missing you, \u2018my favourite human\u2019.",
};

// "10": proposal
constexpr Text Proposal_Titles[] = {
    u"I'm Falling In Love  With You.",
    u"My Heart Is Yours to Keep",
    u"Will You Marry Me?",
    u"Be Mine Forever",
    u"A Question from My Heart",
    u"Say Yes, My Love",
    u"Let's Write Our Story Together",
    u"One Ring, One Question, One You",
};
constexpr Text Proposal_Messages[] = {
    u"From the moment I met you, I knew my life would never be the same. Will you make me the happiest person alive and marry me?",
    u"I want to spend every ordinary Tuesday and every grand adventure by your side. Will you let me?",
    u"I do not need a perfect life, I only need a life with you. Will you be mine forever?",
    u"I have rehearsed this a hundred times and I am still nervous. So here it is simply: will you marry me?",
    u"Let us grow old together, argue over the thermostat and laugh until our cheeks hurt. Say yes?",
    u"You make every plan I have for the future brighter. Let us build that future together.",
    u"You are my best friend and my greatest love. I would be honoured to call you my partner for life.",
    u"I want to wake up next to you for the rest of my days. Will you share them with me?",
    u"My heart chose you long ago. Now I am asking the rest of you: will you say yes?",
    u"Every story needs a happy ending, and I want ours to start today. Will you marry me?",
    u"I promise to love you on sunny days and rainy days, and to always save you the last biscuit.",
    u"I\u2019ve found the one I want to spend forever with\u2026 and it\u2019s you. Will you be mine?",
};

// "11": sorry
constexpr Text Sorry_Titles[] = {
    u"I'm Sorry Sweetheart!!",
    u"I Owe You an Apology",
    u"My Heartfelt Apology",
    u"I Was Wrong, You Were Right",
    u"Shall We Try Once More?",
    u"A Sorry from the Bottom of My Heart, Wrapped Up with a Hug",
    u"Let Me Make It Up to You",
    u"Sorry, Truly and Deeply",
    u"Still Yours, Still Sorry",
};
constexpr Text Sorry_Messages[] = {
    u"I am sorry for what I said. I did not mean it, and you did not deserve it. Please forgive me.",
    u"I was wrong, and I am sorry. You deserve patience and kindness, and from today that is what I will give you.",
    u"I hate it when we fight. I miss your smile already. Can we talk and make things right?",
    u"I let my temper speak before my heart did, and I regret it. I am truly sorry.",
    u"You mean the world to me, and I am sorry I did not show it today.",
    u"I know an apology cannot undo what happened, but I hope it can be the first step back to us.",
    u"I am sorry for the hurt I caused. Let me make it right, one honest day at a time.",
    u"Please forgive me. I promise to listen more, rush less and love you better.",
    u"I was stubborn and silly. You were patient and kind. I am sorry, and I love you.",
    u"I would rather lose every argument than lose you. Forgive me?",
    u"My pride got in the way, and I am sorry. Nothing is more important to me than you.",
    u"I am sending this note with a humble heart and a big apology. I hope you can smile again soon.",
    u"I am sorry I forgot. It will never happen again, and I will make it up to you, starting with dinner tonight.",
    u"I know I hurt your feelings, and I am deeply sorry. Your happiness matters more to me than being right.",
    u"Can we rewind the day? If not, can I at least have a hug and a second chance?",
    u"I\u2019m sorry. No excuses, no \u2018buts\u2019, just a sincere apology and a promise to do better.",
};

// "12": flirty
constexpr Text Flirty_Titles[] = {
    u"You are the like of my love.  ",
    u"Look Who Caught My Eye  ",
    u"Caught You Smiling at Me  ",
    u"Flirting Level: Expert",
    u"You Just Made My Heart Skip  ",
    u"Dangerously Charming  ",
    u"Coffee Date? My Treat",
    u"Stealing Glances at You  ",
    u"Wink, Wink, Darling  ",
    u"Save Me a Dance Tonight",
    u"Your Smile Is Trouble  ",
    u"Butterflies, Every Single Time",
};
constexpr Text Flirty_Messages[] = {
    u"Every time you walk into the room, I forget what I was about to say. You should really come with a warning label.  ",
    u"I was going to play it cool, but then you smiled, and now here I am, writing you a card.  ",
    u"You have a smile that could light up a whole street. Mind if I stand a little closer?  ",
    u"If being this charming is a crime, I hope you never get caught. Well, maybe just by me.  ",
    u"I saved you a seat next to me. Actually, I saved you every seat next to me, just in case.  ",
    u"I was told to follow my heart, and it keeps leading me straight to you.  ",
    u"You, me, two cups of hot chocolate and a very long chat. Sounds like a plan?  ",
    u"Your laugh is my new favourite sound. Say something funny again?  ",
    u"I could stare at you all day, but people might think I am strange, so I will just send this instead.  ",
    u"You look great today. And yesterday. And probably tomorrow too. It is getting a bit unfair.  ",
    u"My phone lights up, my heart jumps, and it is always because of you. Keep the messages coming.  ",
    u"Let us skip the small talk and go straight to the part where you agree to dinner with me.  ",
    u"They say butterflies go away after a while. Mine clearly did not get the memo.  ",
    u"You are sweet, smart and a little bit mischievous. Exactly my type.  ",
    u"I have been practising my best wink all week. Did it work?  ",
    u"Just so you know\u2026 I\u2019ve been thinking about that smile of yours all day.  ",
};
// clang-format on

struct Category {
    Text key;
    std::span<const Text> titles;
    std::span<const Text> messages;
};

constexpr Category Categories[] = {
    { u"1", Cute_Titles, Cute_Messages },
    { u"2", Funny_Titles, Funny_Messages },
    { u"3", Gifts_Titles, Gifts_Messages },
    { u"4", Good_Morning_Titles, Good_Morning_Messages },
    { u"5", Good_Night_Titles, Good_Night_Messages },
    { u"6", For_Her_Titles, For_Her_Messages },
    { u"7", For_Him_Titles, For_Him_Messages },
    { u"8", Love_You_Titles, Love_You_Messages },
    { u"9", Miss_You_Titles, Miss_You_Messages },
    { u"10", Proposal_Titles, Proposal_Messages },
    { u"11", Sorry_Titles, Sorry_Messages },
    { u"12", Flirty_Titles, Flirty_Messages },
};

const Category* findCategory(const QString& key)
{
    for (const Category& category : Categories) {
        if (QStringView(key) == QStringView(category.key.data(), qsizetype(category.key.size())))
            return &category;
    }
    return nullptr;
}

QStringList toList(std::span<const Text> texts)
{
    QStringList list;
    list.reserve(qsizetype(texts.size()));
    for (const Text text : texts)
        list.append(QString::fromRawData(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size())));
    return list;
}

} // namespace

QStringList Greeting_Text_Catalogue::titles(const QString& key)
{
    const Category* category = findCategory(key);
    return category ? toList(category->titles) : QStringList();
}

QStringList Greeting_Text_Catalogue::messages(const QString& key)
{
    const Category* category = findCategory(key);
    return category ? toList(category->messages) : QStringList();
}
